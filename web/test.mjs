// Plays the browser build in Debian's Chromium, headless, and compares it with the native build:
//   node web/test.mjs SITE_DIR PORT     (./web.sh --test builds first, then runs this)
// - a scripted game gives the same state dump and the same frames (title, playing, help) as the
//   native headless run of the same script, and the page shows the playing frame pixel for pixel;
// - a person's keys and clicks at twice the size reach the game where they point (the frame after
//   them equals the native one), the sound hint shows until the first key;
// - a changed setting and a saved game outlive a reload, and the game resumes;
// - a whole game against the computer reaches the results screen, as natively;
// - no page logs an error. Pictures to look at are left in build-web/test/.
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { decodePng } from './png.mjs';
import { serve } from './serve.mjs';

const [siteDir, portText] = process.argv.slice(2);
const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(join(process.env.ORVALIS_NODE_MODULES || join(root, 'build-web/npm/node_modules'), '..', 'x.js'));
const puppeteer = require('puppeteer-core');
const shots = join(root, 'build-web/test');
const native = join(root, 'build/run/orvalis');
rmSync(shots, { recursive: true, force: true });
mkdirSync(shots, { recursive: true });

let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) ++passed;
  else ++failed;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${!ok && detail ? '\n     ' + detail : ''}`);
}

// ---- Native runs ----
function runNative(script) {
  const dir = mkdtempSync(join(tmpdir(), 'orvalis-web-native-'));
  writeFileSync(join(dir, 'script.txt'), script);
  const run = spawnSync(native, ['--headless', '--script', 'script.txt', '--data', join(root, 'build/run')],
    // Its own folders, so that no game or setting of this machine's player shows in its pictures.
    { cwd: dir, encoding: 'utf8', timeout: 300000, env: { ...process.env, XDG_STATE_HOME: dir, XDG_CONFIG_HOME: dir } });
  if (run.status !== 0) throw new Error(`the native run failed (${run.status}): ${run.stderr}`);
  return { read: (name) => readFileSync(join(dir, name)), done: () => rmSync(dir, { recursive: true, force: true }) };
}

// ---- The browser ----
const server = await serve(siteDir, Number(portText));
const profile = mkdtempSync(join(tmpdir(), 'orvalis-web-chromium-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  protocolTimeout: 0,  // a busy machine may take long: each wait has its own time-out
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--autoplay-policy=user-gesture-required'],
});
const consoleErrors = [];
const base = `http://localhost:${server.address().port}/`;

async function openPage(query = '', viewport = { width: 700, height: 540 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(`${query.slice(0, 40)}: ${m.text()}`); });
  page.on('pageerror', (e) => consoleErrors.push(`${query.slice(0, 40)}: ${e.message}`));
  // The game's error boxes are the browser's alerts: none is expected.
  page.on('dialog', (d) => { consoleErrors.push(`${query.slice(0, 40)}: a box said ${d.message()}`); d.dismiss(); });
  await page.evaluateOnNewDocument(() => { window.orvalisCanvasShots = {}; });
  await page.goto(base + query);
  return page;
}

function scriptQuery(script, extra = '') {
  return '?script=' + encodeURIComponent('data:text/plain;charset=utf-8,' + encodeURIComponent(script)) + extra;
}

// Plays a script in a page to its end; returns the files it wrote (by name) and the canvas at each
// screenshot.
async function runBrowser(script, names, extra = '', timeout = 300000) {
  const page = await openPage(scriptQuery(script, extra));
  await page.waitForFunction(() => window.Module && Module.exitCode !== undefined, { timeout, polling: 200 });
  const result = await page.evaluate((list) => {
    const files = {};
    for (const n of list) {
      try {
        const bytes = Module.FS.readFile('/' + n);
        let s = '';
        for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        files[n] = btoa(s);
      } catch (e) { files[n] = null; }
    }
    return { code: Module.exitCode, files, canvas: window.orvalisCanvasShots };
  }, names);
  await page.close();
  const files = {};
  for (const [n, b] of Object.entries(result.files)) files[n] = b === null ? null : Buffer.from(b, 'base64');
  const canvas = {};
  for (const [n, url] of Object.entries(result.canvas)) canvas[n] = Buffer.from(url.split(',')[1], 'base64');
  return { code: result.code, files, canvas };
}

// '' when the pictures are the same, else what differs. The game's colours are RGB565: a picture the
// browser shows is compared in them (its 8-bit channels widened by SDL's rounding, not the game's).
function samePixels(a, b, { rgb565 = false, allowed = 0 } = {}) {
  if (!a || !b) return 'missing';
  const pa = decodePng(a), pb = decodePng(b);
  if (pa.width !== pb.width || pa.height !== pb.height) return `sizes ${pa.width}x${pa.height} and ${pb.width}x${pb.height}`;
  const shift = rgb565 ? [3, 2, 3] : [0, 0, 0];
  let differ = 0;
  for (let i = 0; i < pa.rgb.length; i += 3)
    for (let c = 0; c < 3; ++c)
      if (pa.rgb[i + c] >> shift[c] !== pb.rgb[i + c] >> shift[c]) { ++differ; break; }
  return differ <= allowed ? '' : `${differ} pixels differ`;
}

try {
  // ---- A scripted game against the native run ----
  const play = readFileSync(join(root, 'web/tests/play.txt'), 'utf8');
  const pictures = ['title.png', 'playing.png', 'help.png', 'moved.png'];
  const ref = runNative(play);
  const web = await runBrowser(play, [...pictures, 'end.json']);
  check(web.code === 0, 'the scripted game ends with exit code 0', `code ${web.code}`);
  const endNative = ref.read('end.json').toString(), endWeb = web.files['end.json']?.toString();
  check(endWeb === endNative, 'the state dump at the end equals the native one', endWeb ? '' : 'no end.json');
  for (const p of pictures) {
    // Natively SDL_ttf shapes text with HarfBuzz, here without it: letters may sit a pixel apart.
    const text = p === 'help.png';
    const diff = samePixels(web.files[p], ref.read(p), { allowed: text ? 640 * 480 / 20 : 0 });
    check(diff === '', `the game's ${p} equals the native one${text ? ' (but for the text\'s shaping)' : ''}`, diff);
    if (web.files[p]) writeFileSync(join(shots, 'game-' + p), web.files[p]);
    if (web.canvas[p]) writeFileSync(join(shots, 'canvas-' + p), web.canvas[p]);
    const shown = samePixels(web.canvas[p], web.files[p], { rgb565: true });
    check(shown === '', `the page shows the game's ${p} pixel for pixel`, shown);
  }
  writeFileSync(join(shots, 'native-help.png'), ref.read('help.png'));
  ref.done();

  // ---- A person at twice the size: keys, clicks, the sound hint, full screen's button ----
  const seed = '&args=' + encodeURIComponent('--seed 11');
  const big = { width: 1300, height: 1000 };
  let page = await openPage('?' + seed.slice(1), big);
  await page.waitForFunction(() => window.Module && Module.passes > 5, { timeout: 60000 });
  check(await page.$eval('#hint', (e) => !e.hidden), 'the sound hint shows on the title before any key');
  await page.screenshot({ path: join(shots, 'page-title.png') });
  const box = await page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; });
  check(box[2] === 1280 && box[3] === 960, 'the picture is scaled by a whole 2 in a window that fits twice it', box.join(' '));
  const at = (x, y) => [box[0] + (x + 0.5) * box[2] / 640, box[1] + (y + 0.5) * box[3] / 480];
  const waitPasses = (n) => page.evaluate((k) => new Promise((ok) => {
    const until = Module.passes + k;
    (function wait() { if (Module.passes >= until) ok(); else setTimeout(wait, 20); })();
  }), n);
  await page.keyboard.down('Enter');
  await waitPasses(2);
  await page.keyboard.up('Enter');
  check(await page.$eval('#hint', (e) => e.hidden), 'the sound hint goes with the first key');
  await waitPasses(40);
  await page.mouse.move(...at(320, 300));
  await waitPasses(3);
  await page.mouse.down();
  await waitPasses(2);
  await page.mouse.up();
  await waitPasses(90);
  await page.mouse.move(...at(446, 212));
  await waitPasses(5);
  const ref2 = runNative(play);
  const playing = await page.evaluate(() => document.getElementById('canvas').toDataURL('image/png'));
  const diff = samePixels(Buffer.from(playing.split(',')[1], 'base64'), ref2.read('playing.png'), { rgb565: true });
  check(diff === '', 'clicks and pointer at twice the size land where they point (the frame equals the native one)', diff);
  ref2.done();
  await page.screenshot({ path: join(shots, 'page-playing.png') });
  // The game polls its keys once a pass: a key is held over a few.
  const tap = async (key) => { await page.keyboard.down(key); await waitPasses(3); await page.keyboard.up(key); await waitPasses(3); };
  await tap('F1');
  await page.screenshot({ path: join(shots, 'page-help.png') });
  await tap('F1');

  // ---- Settings and a saved game outlive a reload ----
  await tap('m');  // all sound off, kept in the settings
  await tap('Enter');  // player 2 ends the turn: the game is saved
  await waitPasses(10);
  await page.evaluate(() => Module.persisted());
  await page.reload();
  await page.waitForFunction(() => window.Module && Module.passes > 2, { timeout: 60000 });
  const kept = await page.evaluate(() => {
    const list = (dir) => {
      let out = [];
      try {
        for (const n of Module.FS.readdir(dir)) {
          if (n === '.' || n === '..') continue;
          const p = dir + '/' + n;
          out = Module.FS.isDir(Module.FS.stat(p).mode) ? out.concat(list(p)) : out.concat([p]);
        }
      } catch (e) { /* none */ }
      return out;
    };
    let settings = '';
    try { settings = Module.FS.readFile('/persist/config/orvalis/settings.toml', { encoding: 'utf8' }); } catch (e) { /* none */ }
    return { settings, state: list('/persist/state') };
  });
  check(/sound\s*=\s*false/.test(kept.settings) || /\bon\s*=\s*false/.test(kept.settings), 'the sound setting changed by M is there after a reload', kept.settings);
  check(kept.state.some((p) => p.endsWith('.json')), 'a saved game is there after a reload', kept.state.join(' '));
  await page.close();
  const resumed = await runBrowser('frames 60\nstate resumed.json\n', ['resumed.json'], '&persist=1&args=' + encodeURIComponent('--resume'));
  const state = resumed.files['resumed.json'] ? JSON.parse(resumed.files['resumed.json']) : {};
  check(state.game_state === 6 && state.current_player === 1, 'the saved game resumes after a reload, player 1 to move',
    JSON.stringify({ game_state: state.game_state, current_player: state.current_player }));

  // ---- A whole game against the computer ----
  const turns = Number(process.env.ORVALIS_WEB_TURNS || 60);
  let game = 'seed 5\ncomputer 1\nlevel easy\nkey down SPACE\nkey down RETURN\nframes 1\nkey up RETURN\nframes 31\n' +
    'mouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n';
  for (let i = 0; i < turns; ++i) game += 'key down RETURN\nframes 1\nkey up RETURN\nframes 60\n';
  game += 'screenshot results.png\nstate end.json\n';
  const ref3 = runNative(game);
  const vs = await runBrowser(game, ['end.json', 'results.png'], '', 1800000);
  const end = vs.files['end.json'] ? JSON.parse(vs.files['end.json']) : {};
  check(end.game_state === 14, 'a whole game against the computer reaches the results screen', `game_state ${end.game_state}`);
  check(vs.files['end.json']?.toString() === ref3.read('end.json').toString(), 'the game against the computer ends as natively');
  if (vs.files['results.png']) writeFileSync(join(shots, 'game-results.png'), vs.files['results.png']);
  ref3.done();
} catch (err) {
  check(false, 'the test ran to its end', err.stack || String(err));
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
check(consoleErrors.length === 0, 'no page logged an error', consoleErrors.join('\n     '));
console.log(`web: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
