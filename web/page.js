// The page around the game: starts it, scales its 640 x 480 picture to the browser window (whole
// multiples where they fit, every pixel sharp), turns touches into clicks (a tap is a left click, a
// long press a right click), full screen on F11 or the button, the sound hint until the first click or
// key, and what a scripted run (?script=URL, the headless mode's script language) needs.
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const bar = document.getElementById('bar');
  const hint = document.getElementById('hint');
  const status = document.getElementById('status');
  const params = new URLSearchParams(location.search);
  const scriptUrl = params.get('script');
  const scripted = scriptUrl !== null;

  function say(text) {
    status.firstElementChild.textContent = text;
    status.hidden = !text;
  }

  // ---- Scaling ----
  const W = 640, H = 480;
  function fit() {
    const full = !!document.fullscreenElement;
    bar.hidden = full;
    stage.style.top = full ? '0' : bar.offsetHeight + 'px';
    const ratio = window.devicePixelRatio || 1;
    const w = stage.clientWidth * ratio, h = stage.clientHeight * ratio;
    // Device pixels per game pixel: a whole number where one fits, else the largest fit.
    let k = Math.floor(Math.min(w / W, h / H));
    if (k < 1) k = Math.max(Math.min(w / W, h / H), 0.1);
    canvas.style.width = (W * k) / ratio + 'px';
    canvas.style.height = (H * k) / ratio + 'px';
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  // ---- Full screen ----
  // Browsers grant full screen only inside a click's or key's own event: a request the game makes
  // between them (its settings page) waits for the next one.
  let fullscreenWanted = null;
  function applyFullscreen(on) {
    fullscreenWanted = null;
    if (on && !document.fullscreenElement) {
      document.documentElement.requestFullscreen().catch(function () { fullscreenWanted = true; });
    } else if (!on && document.fullscreenElement) {
      document.exitFullscreen().catch(function () {});
    }
  }
  function toggleFullscreen() { applyFullscreen(!document.fullscreenElement); }
  document.getElementById('fullscreen').addEventListener('click', function () {
    toggleFullscreen();
    canvas.focus();
  });
  window.addEventListener('keydown', function (e) {
    if (e.key === 'F11' || (e.key === 'Enter' && e.altKey)) {
      e.preventDefault();
      e.stopImmediatePropagation();
      if (!e.repeat) toggleFullscreen();
    }
  }, true);
  function userEvent() {
    if (fullscreenWanted !== null) applyFullscreen(fullscreenWanted);
    hint.hidden = true;  // the browser lets the sound start now
  }
  window.addEventListener('keydown', userEvent, true);
  window.addEventListener('mousedown', userEvent, true);
  window.addEventListener('touchend', userEvent, true);

  // ---- Touch ----
  // The touches never reach the game as touches: they become the mouse events it knows.
  const LONG_PRESS_MS = 500, SLOP_PX = 12;
  let touch = null;
  function mouse(type, x, y, button) {
    canvas.dispatchEvent(new MouseEvent(type, {
      clientX: x, clientY: y, button: button, buttons: type === 'mousedown' ? (button === 2 ? 2 : 1) : 0,
      bubbles: true, cancelable: true, view: window
    }));
  }
  function ours(e) {
    if (e.target !== canvas) return false;
    e.preventDefault();
    e.stopPropagation();
    return true;
  }
  window.addEventListener('touchstart', function (e) {
    if (!ours(e) || touch) return;
    const t = e.changedTouches[0];
    touch = { id: t.identifier, x0: t.clientX, y0: t.clientY, x: t.clientX, y: t.clientY, long: false };
    mouse('mousemove', t.clientX, t.clientY, 0);
    touch.timer = setTimeout(function () {
      if (!touch) return;
      touch.long = true;
      mouse('mousedown', touch.x, touch.y, 2);
      mouse('mouseup', touch.x, touch.y, 2);
    }, LONG_PRESS_MS);
  }, { capture: true, passive: false });
  function findTouch(e) {
    if (!touch) return null;
    for (const t of e.changedTouches) if (t.identifier === touch.id) return t;
    return null;
  }
  window.addEventListener('touchmove', function (e) {
    if (!ours(e)) return;
    const t = findTouch(e);
    if (!t) return;
    touch.x = t.clientX;
    touch.y = t.clientY;
    if (Math.hypot(touch.x - touch.x0, touch.y - touch.y0) > SLOP_PX) clearTimeout(touch.timer);
    mouse('mousemove', touch.x, touch.y, 0);
  }, { capture: true, passive: false });
  window.addEventListener('touchend', function (e) {
    if (!ours(e)) return;
    const t = findTouch(e);
    if (!t) return;
    clearTimeout(touch.timer);
    if (!touch.long) {
      mouse('mousedown', t.clientX, t.clientY, 0);
      mouse('mouseup', t.clientX, t.clientY, 0);
    }
    touch = null;
  }, { capture: true, passive: false });
  window.addEventListener('touchcancel', function (e) {
    if (!ours(e) || !touch) return;
    clearTimeout(touch.timer);
    touch = null;
  }, { capture: true, passive: false });

  // ---- The game ----
  const scriptText = scripted ? fetch(scriptUrl).then(function (r) {
    if (!r.ok) throw new Error('cannot load the script ' + scriptUrl + ' (' + r.status + ')');
    return r.text();
  }) : Promise.resolve(null);

  window.addEventListener('error', function (e) { say('Orvalis stopped: ' + e.message); });
  // Leaving the page ends the game's run as closing its window does: the game in progress is saved.
  window.addEventListener('pagehide', function () {
    if (Module._orvalis_page_closing) Module._orvalis_page_closing();
  });

  const Module = window.Module = {
    canvas: canvas,
    // A scripted run keeps its settings and saved games in memory, away from the player's, unless
    // it asks for them (&persist=1).
    noPersist: scripted && !params.has('persist'),
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    setStatus: function (text) { if (text) say(text.replace(/\(.*\)/, '').trim() || 'Loading Orvalis…'); },
    setFullscreen: applyFullscreen,
    setSmooth: function (on) { canvas.classList.toggle('smooth', on); },
    passes: 0,
    onPass: function (ms) {
      if (Module.passes++ === 0) Module.firstFrameAt = performance.now();
      if (window.orvalisPassTimes) window.orvalisPassTimes.push(ms);
    },
    // The browser test compares what the page shows when the game writes a screenshot.
    onFileWritten: function (path) {
      if (window.orvalisCanvasShots && /\.png$/.test(path))
        window.orvalisCanvasShots[path.replace(/.*\//, '')] = canvas.toDataURL('image/png');
    },
    onEnd: function (code) {
      Module.exitCode = code;
      if (!scripted) say('The game has ended. Reload the page to play again.');
    },
    onRuntimeInitialized: function () {
      scriptText.then(function (text) {
        const args = ['--data', '/data'];
        if (text !== null) {
          Module.FS.writeFile('/script.txt', text);
          args.push('--script', '/script.txt');
          if (Module.noPersist) args.push('--settings', '/tmp/script-settings.toml');
        }
        const extra = params.get('args');
        if (extra) args.push.apply(args, extra.split(' ').filter(Boolean));
        say('');
        if (!scripted) hint.hidden = false;
        fit();
        canvas.focus();
        Module.callMain(args);
      }).catch(function (err) {
        say(String(err.message || err));
        console.error('orvalis: ' + (err.message || err));
      });
    }
  };
  orvalisLoadData(Module, function (err) {
    say(String(err.message || err));
    console.error('orvalis: ' + (err.message || err));
  });
})();
