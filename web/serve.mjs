// Serves a folder on localhost for the browser build: `node web/serve.mjs DIR PORT` prints the
// address and serves until stopped; the test and the benchmark start it in their own process.
// Only files inside the folder are served, with the types browsers need (wasm streaming compiles
// only application/wasm).
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png', '.ttf': 'font/ttf', '.json': 'application/json',
};

export function serve(dir, port) {
  const root = resolve(dir);
  // A script may travel in the address (?script=data:...): long addresses are let in.
  const server = createServer({ maxHeaderSize: 1 << 20 }, async (req, res) => {
    try {
      const path = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
      const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
      if (file !== root && !file.startsWith(root + sep)) throw Object.assign(new Error('outside'), { code: 'ENOENT' });
      const body = await readFile(file);
      res.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache' });
      res.end(body);
    } catch (err) {
      res.writeHead(err.code === 'ENOENT' || err.code === 'EISDIR' ? 404 : 400, { 'Content-Type': 'text/plain' });
      res.end('not found\n');
    }
  });
  return new Promise((ok, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => ok(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [dir, port] = process.argv.slice(2);
  const server = await serve(dir, Number(port));
  console.log(`Orvalis is served at http://localhost:${server.address().port}/ (Ctrl+C stops it)`);
}
