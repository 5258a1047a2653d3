// The game's data package (art, templates, sounds, the font) comes gzipped, at well under half its
// size, and the browser unpacks it as it arrives. The module waits for it before it starts:
// emscripten's package script (orvalis-data.js) is loaded only once the bytes are here, and takes
// them instead of fetching the package itself.
'use strict';
function orvalisLoadData(Module, failed) {
  const unpacked = fetch('orvalis.data.gz').then(function (r) {
    if (!r.ok) throw new Error('cannot load the game data orvalis.data.gz (' + r.status + ')');
    return new Response(r.body.pipeThrough(new DecompressionStream('gzip'))).arrayBuffer();
  });
  let bytes = null;
  Module.getPreloadedPackage = function () { return bytes; };
  Module.preInit = [function () {
    Module.addRunDependency('orvalis-data');
    unpacked.then(function (b) {
      bytes = b;
      const script = document.createElement('script');
      script.src = 'orvalis-data.js';
      script.onload = function () { Module.removeRunDependency('orvalis-data'); };
      script.onerror = function () { failed(new Error('cannot load orvalis-data.js')); };
      document.body.appendChild(script);
    }).catch(failed);
  }];
}
