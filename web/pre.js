// Runs inside the game's module before it starts: the player's settings and saved games live in the
// browser's IndexedDB, mounted at /persist (the game's config and state folders lie under it), read
// before the game starts and written back after every file the game writes, renames or removes there.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  const root = '/persist';
  FS.mkdir(root);
  // A scripted run keeps its files in memory.
  const persist = !Module['noPersist'];
  if (persist) {
    FS.mount(IDBFS, {}, root);
    addRunDependency('persist');
    FS.syncfs(true, function (err) {
      if (err) console.warn('orvalis: cannot read the saved files from the browser: ' + err);
      removeRunDependency('persist');
    });
  }

  // Writing back: at most one sync at a time; changes made during one are taken by the next.
  let syncing = false, again = false, scheduled = false, waiters = [];
  function sync() {
    scheduled = false;
    if (syncing) { again = true; return; }
    syncing = true;
    FS.syncfs(false, function (err) {
      syncing = false;
      if (err) console.warn('orvalis: cannot save the files in the browser: ' + err);
      if (again) { again = false; sync(); return; }
      const done = waiters; waiters = [];
      done.forEach(function (w) { w(); });
    });
  }
  function changed(path) {
    if (!persist || typeof path !== 'string' || (path !== root && path.indexOf(root + '/') !== 0)) return;
    if (!scheduled) { scheduled = true; setTimeout(sync, 0); }
  }
  // A promise that settles once everything written so far is in IndexedDB.
  Module['persisted'] = function () {
    if (!syncing && !scheduled) return Promise.resolve();
    return new Promise(function (resolve) { waiters.push(resolve); });
  };
  const close = FS.close, rename = FS.rename, unlink = FS.unlink, rmdir = FS.rmdir;
  FS.close = function (stream) {
    const writing = (stream.flags & 3) !== 0;  // O_WRONLY or O_RDWR
    const path = stream.path;
    const result = close.apply(this, arguments);
    if (writing) {
      changed(path);
      if (Module['onFileWritten']) Module['onFileWritten'](path);
    }
    return result;
  };
  // A file the game writes whole is written under a temporary name and renamed into place: it is
  // written when renamed.
  FS.rename = function (from, to) {
    const r = rename.apply(this, arguments);
    changed(from);
    changed(to);
    if (Module['onFileWritten']) Module['onFileWritten'](to);
    return r;
  };
  FS.unlink = function (path) { const r = unlink.apply(this, arguments); changed(path); return r; };
  FS.rmdir = function (path) { const r = rmdir.apply(this, arguments); changed(path); return r; };
});

// SDL's browser audio calls this helper, which later emscripten versions provide: a suspended audio
// context (browsers start sound only after a click or a key) resumes at the first click, key or touch.
function autoResumeAudioContext(ctx) {
  if (!ctx || typeof ctx.resume !== 'function') return;
  const events = ['keydown', 'mousedown', 'touchstart', 'touchend'];
  function resume() {
    if (ctx.state === 'suspended') ctx.resume();
    if (ctx.state === 'running') events.forEach(function (e) { document.removeEventListener(e, resume, true); });
  }
  events.forEach(function (e) { document.addEventListener(e, resume, true); });
}

// SDL's browser audio calls its C callbacks through this, which this emscripten does not include
// by itself.
function dynCall(signature, pointer, args) {
  return getWasmTableEntry(pointer).apply(null, args || []);
}
