// The browser build's figures (./web.sh --bench builds first, then runs this): what the site weighs,
// raw and gzipped; the time from loading the page to the title drawn; the playing frame's time in
// the browser against the native build on the same frames; and the computer's think time per turn
// at each level in the browser against the native build. A benchmark, not a test: it asserts nothing.
//   node web/bench.mjs SITE_DIR PORT
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { serve } from './serve.mjs';

const [siteDir, portText] = process.argv.slice(2);
const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(join(process.env.ORVALIS_NODE_MODULES || join(root, 'build-web/npm/node_modules'), '..', 'x.js'));
const puppeteer = require('puppeteer-core');
const lines = [];
const say = (t) => { console.log(t); lines.push(t); };
const median = (v) => { const s = [...v].sort((a, b) => a - b); return s[Math.floor((s.length - 1) / 2)]; };
const ms = (v) => v.toFixed(2) + ' ms';

// ---- Download ----
const shipped = readdirSync(siteDir).filter((f) => !f.startsWith('arena') && f !== 'font-license.txt');
let raw = 0, packed = 0;
for (const f of shipped) {
  const bytes = readFileSync(join(siteDir, f));
  raw += bytes.length;
  packed += gzipSync(bytes, { level: 9 }).length;
  say(`  ${f.padEnd(18)} ${(bytes.length / 1024).toFixed(0).padStart(6)} KiB`);
}
say(`download: ${(raw / 1048576).toFixed(2)} MiB raw, ${(packed / 1048576).toFixed(2)} MiB gzipped (${shipped.length} files)`);

const server = await serve(siteDir, Number(portText));
const base = `http://localhost:${server.address().port}/`;
const profile = mkdtempSync(join(tmpdir(), 'orvalis-web-bench-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile, protocolTimeout: 0,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

async function page(query, setup) {
  const p = await browser.newPage();
  await p.setViewport({ width: 700, height: 540 });
  await p.setCacheEnabled(false);
  if (setup) await p.evaluateOnNewDocument(setup);
  await p.goto(base + query);
  return p;
}

try {
  // ---- Load to title ----
  const loads = [];
  for (let i = 0; i < 5; ++i) {
    const p = await page('');
    await p.waitForFunction(() => window.Module && Module.firstFrameAt !== undefined, { timeout: 60000 });
    loads.push(await p.evaluate(() => Module.firstFrameAt));
    await p.close();
  }
  say(`load to the title drawn: median ${ms(median(loads))}, slowest ${ms(Math.max(...loads))} (${loads.length} loads, no cache)`);

  // ---- Playing frames ----
  const FRAMES = Number(process.env.ORVALIS_BENCH_FRAMES || 1200);
  const prefix = readFileSync(join(root, 'web/tests/bench_playing.txt'), 'utf8');
  let moves = '';
  for (let i = 0; i < FRAMES; ++i) moves += `mouse move ${100 + (i % 400)} ${80 + ((i >> 3) % 300)}\nframes 1\n`;
  const script = prefix + moves + 'close\n';
  const p = await page('?script=' + encodeURIComponent('data:text/plain,' + encodeURIComponent(script)),
    () => { window.orvalisPassTimes = []; });
  await p.waitForFunction(() => window.Module && Module.exitCode !== undefined, { timeout: 600000, polling: 500 });
  const passes = await p.evaluate(() => window.orvalisPassTimes);
  await p.close();
  const web = passes.slice(-FRAMES - 1, -1);
  // The native window on the same frames through the same present path: SDL's software renderer
  // into a 640 x 480 window under Xvfb, each pass timed as the page times it (platform/web.cpp), less
  // the sleeps with which a window paces its frames (animation frames pace the page's). A window's
  // present also waits for the X server, which a busy machine makes slow: the pass's processor time
  // is the figure that compares with the browser's (whose passes wait for no other process). The
  // best of three runs.
  const nativePasses = () => {
    const dir = mkdtempSync(join(tmpdir(), 'orvalis-web-bench-native-'));
    writeFileSync(join(dir, 's.txt'), script);
    spawnSync('xvfb-run', ['-a', '-s', '-screen 0 1024x768x24', join(root, 'build/run/orvalis'), '--script', 's.txt',
      '--settings', join(dir, 'settings.toml'), '--data', join(root, 'build/run')], {
      cwd: dir, stdio: 'ignore',
      env: { ...process.env, XDG_CONFIG_HOME: join(dir, 'config'), XDG_STATE_HOME: join(dir, 'state'),
        SDL_RENDER_DRIVER: 'software', SDL_AUDIODRIVER: 'dummy', ORVALIS_PASS_TIMES: join(dir, 'passes.txt') },
    });
    let lines = [];
    try { lines = readFileSync(join(dir, 'passes.txt'), 'utf8').trim().split('\n'); } catch { /* none */ }
    rmSync(dir, { recursive: true, force: true });
    const frames = lines.slice(-FRAMES - 1, -1).map((l) => l.split(' ').map(Number));
    return { wall: frames.map((f) => f[0]), cpu: frames.map((f) => f[1]) };
  };
  const mean = (v) => v.reduce((a, b) => a + b, 0) / v.length;
  let native = null;
  for (let i = 0; i < 3; ++i) {
    const run = nativePasses();
    if (run.cpu.length && (!native || median(run.cpu) < median(native.cpu))) native = run;
  }
  say(`playing frame (${FRAMES} frames, pointer moving, SDL's software renderer, 640 x 480): browser median ` +
    `${ms(median(web))}, mean ${ms(mean(web))}`);
  if (native) {
    say(`  native window: processor time median ${ms(median(native.cpu))}, mean ${ms(mean(native.cpu))}; ` +
      `wall time less the pacing median ${ms(median(native.wall))}, mean ${ms(mean(native.wall))}`);
    say(`  browser / native processor time: median ${(median(web) / median(native.cpu)).toFixed(2)}, ` +
      `mean ${(mean(web) / mean(native.cpu)).toFixed(2)}`);
  } else {
    say('  native window: no pass times (is xvfb-run installed?)');
  }

  // ---- The computer's think time ----
  const turns = Number(process.env.ORVALIS_BENCH_TURNS || 100);
  const a = await page('arena.html?args=' + encodeURIComponent(`think ${turns}`));
  await a.waitForFunction(() => window.Module && Module.exitCode !== undefined, { timeout: 1800000, polling: 1000 });
  const webThink = await a.evaluate(() => document.getElementById('out').textContent);
  await a.close();
  const nativeThink = spawnSync(join(root, 'build/bench/orvalis_arena'), ['think', String(turns)],
    { cwd: join(root, 'build/run'), encoding: 'utf8' }).stdout;
  say(`the computer's think time per turn over ${turns} turns a level, in the browser:\n${webThink.trim()}`);
  say(`and natively:\n${(nativeThink || '(build/bench/orvalis_arena is missing)').trim()}`);
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
writeFileSync(join(root, 'build-web/figures.txt'), lines.join('\n') + '\n');
console.log('web bench: figures written to build-web/figures.txt');
