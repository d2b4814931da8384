// What a visitor of a product spin waits for and downloads: 36 pictures of
// 6000 x 4000 (a real photograph, Debian's mate-backgrounds, scaled up and
// turned a little further in each picture), written by orbilux-build --web
// and served by a local HTTP server to headless Chromium with an empty
// cache, its network slowed through the DevTools protocol:
//   phone    390 x 844, pixel ratio 3, touch, Slow 4G (150 ms, 1.6 Mbit/s)
//   desktop  1366 x 768, pixel ratio 1,       Fast 4G (40 ms, 9 Mbit/s)
// For each run it prints the time from the start of the navigation to the
// first picture whole on the screen (the page's largest contentful paint, or
// the frame after the picture is decoded where the browser reports none), to
// the last picture in, and the bytes downloaded by then; then the medians
// against the goals. It also prints the folder's size by width.
//
// Usage, after a build: node bench/web-spin-network.mjs [runs]
// (ORBILUX_BUILD_DIR names another build folder than build/; the source
// pictures are made once into the system's temporary folder and kept there.)
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, readdirSync, renameSync, statSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { startSession } from '../tests/player/lib/player.mjs';
import { BUILDER } from '../tests/player/lib/movie.mjs';
import { watchFirstPicture } from './firstPictureProbe.mjs';

const WIDTH = 6000;
const HEIGHT = 4000;
const COUNT = 36;
// 1920 x 1200, detailed: at 960 pixels wide about as many bytes as a
// product photograph (some 80 kB)
const PHOTO = '/usr/share/backgrounds/mate/nature/RainDrops.jpg';
const runs = Number(process.argv[2] ?? 3);

const PROFILES = [
  {
    name: 'phone',
    context: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, hasTouch: true, isMobile: true },
    network: { latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 },
    goals: { first: 2500, all: 30000, bytes: 6e6 },
  },
  {
    name: 'desktop',
    context: { viewport: { width: 1366, height: 768 }, deviceScaleFactor: 1 },
    network: { latency: 40, downloadThroughput: 9e6 / 8, uploadThroughput: 1.5e6 / 8 },
    goals: { first: 1000, all: 8000 },
  },
];

// Reads a PPM (P6, maxval 255) into { width, height, pixels }.
function readPpm(buffer) {
  const fields = [];
  let at = 0;
  while (fields.length < 4) {
    while (/\s/.test(String.fromCharCode(buffer[at]))) at++;
    const start = at;
    while (!/\s/.test(String.fromCharCode(buffer[at]))) at++;
    fields.push(buffer.toString('latin1', start, at));
  }
  return { width: Number(fields[1]), height: Number(fields[2]), pixels: buffer.subarray(at + 1) };
}

// The photograph decoded at twice its size, its middle cut to 3:2 and
// scaled up, bilinear, to WIDTH x HEIGHT.
function scaledPhoto() {
  const source = readPpm(execFileSync('djpeg', ['-scale', '16/8', '-pnm', PHOTO], { maxBuffer: 1 << 30 }));
  const cropWidth = Math.min(source.width, Math.floor((source.height * WIDTH) / HEIGHT));
  const cropHeight = Math.floor((cropWidth * HEIGHT) / WIDTH);
  const left = Math.floor((source.width - cropWidth) / 2);
  const top = Math.floor((source.height - cropHeight) / 2);
  const at = (x, y, c) => source.pixels[((top + y) * source.width + left + x) * 3 + c];
  const pixels = Buffer.alloc(WIDTH * HEIGHT * 3);
  const sx = (cropWidth - 1) / (WIDTH - 1);
  const sy = (cropHeight - 1) / (HEIGHT - 1);
  for (let y = 0; y < HEIGHT; y++) {
    const fy = y * sy;
    const y0 = Math.floor(fy);
    const y1 = Math.min(y0 + 1, cropHeight - 1);
    const wy = fy - y0;
    for (let x = 0; x < WIDTH; x++) {
      const fx = x * sx;
      const x0 = Math.floor(fx);
      const x1 = Math.min(x0 + 1, cropWidth - 1);
      const wx = fx - x0;
      for (let c = 0; c < 3; c++) {
        const upper = at(x0, y0, c) * (1 - wx) + at(x1, y0, c) * wx;
        const lower = at(x0, y1, c) * (1 - wx) + at(x1, y1, c) * wx;
        pixels[(y * WIDTH + x) * 3 + c] = upper * (1 - wy) + lower * wy;
      }
    }
  }
  return pixels;
}

// The spin's pictures: the photograph rolled sideways by 1/36 of its width
// more in each, encoded as a camera would (quality 92); made once.
function makeFrames() {
  const folder = path.join(os.tmpdir(), `orbilux-web-spin-${path.basename(PHOTO, '.jpg')}-${WIDTH}x${HEIGHT}-${COUNT}`);
  const files = Array.from({ length: COUNT }, (_, i) => path.join(folder, `frame${String(i + 1).padStart(2, '0')}.jpg`));
  if (files.every((file) => existsSync(file))) return files;
  mkdirSync(folder, { recursive: true });
  console.log(`making ${COUNT} pictures of ${WIDTH} x ${HEIGHT} in ${folder} (once)...`);
  const photo = scaledPhoto();
  const head = Buffer.from(`P6\n${WIDTH} ${HEIGHT}\n255\n`, 'latin1');
  const row = WIDTH * 3;
  files.forEach((file, i) => {
    const shift = Math.round((i * WIDTH) / COUNT) * 3;
    const frame = Buffer.alloc(photo.length);
    for (let y = 0; y < HEIGHT; y++) {
      const from = y * row;
      photo.copy(frame, from, from + shift, from + row);
      photo.copy(frame, from + row - shift, from, from + shift);
    }
    const jpeg = execFileSync('cjpeg', ['-quality', '92'], { input: Buffer.concat([head, frame]), maxBuffer: 1 << 28 });
    writeFileSync(`${file}.part`, jpeg);
    renameSync(`${file}.part`, file);
  });
  return files;
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const folderBytes = (folder) => readdirSync(folder).reduce((sum, name) => sum + statSync(path.join(folder, name)).size, 0);
const mb = (bytes) => `${(bytes / 1e6).toFixed(2)} MB`;

// One visit: { first, all } in ms from the start of the navigation, and the
// bytes downloaded until every picture was in.
async function visit(browser, url, profile) {
  const context = await browser.newContext({ ...profile.context, reducedMotion: 'reduce' });
  try {
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Network.emulateNetworkConditions', { offline: false, ...profile.network });
    let bytes = 0;
    cdp.on('Network.loadingFinished', (event) => {
      bytes += event.encodedDataLength;
    });
    await page.addInitScript(watchFirstPicture);
    await page.goto(url, { waitUntil: 'commit' });
    const first = await page.evaluate(() => window.firstPicture);
    await page.waitForFunction(() => document.querySelector('.progress')?.hidden, null, { timeout: 600000, polling: 100 });
    const all = await page.evaluate(() => Math.max(...performance.getEntriesByType('resource')
      .filter((entry) => entry.name.includes('/pictures/')).map((entry) => entry.responseEnd)));
    const widths = await page.evaluate(() => [...new Set(performance.getEntriesByType('resource')
      .filter((entry) => entry.name.includes('/pictures/')).map((entry) => entry.name.split('/').at(-2)))]);
    return { first, all, bytes, widths };
  } finally {
    await context.close();
  }
}

const frames = makeFrames();
const session = await startSession();
try {
  const site = path.join(session.folder, 'site');
  const started = Date.now();
  execFileSync(BUILDER, ['--web', site, ...frames], { stdio: ['ignore', 'ignore', 'pipe'] });
  const source = frames.reduce((sum, file) => sum + statSync(file).size, 0);
  console.log(`${COUNT} pictures of ${WIDTH} x ${HEIGHT}, ${mb(source)}; web folder written in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  const pictures = path.join(site, 'pictures');
  console.log(`pictures by width: ${readdirSync(pictures).sort((a, b) => Number(a) - Number(b))
    .map((w) => `${w}: ${mb(folderBytes(path.join(pictures, w)))}`).join(', ')}`);
  const url = session.address(path.join(site, 'index.html'));
  for (const profile of PROFILES) {
    const results = [];
    for (let run = 1; run <= runs; run++) {
      const result = await visit(session.browser, url, profile);
      results.push(result);
      console.log(`${profile.name} run ${run}: first picture ${result.first.toFixed(0)} ms, all ${COUNT} in ` +
        `${result.all.toFixed(0)} ms, ${mb(result.bytes)} (widths ${result.widths.join(', ')})`);
    }
    const { goals } = profile;
    const verdict = (value, goal) => (value <= goal ? 'within' : 'OVER');
    const first = median(results.map((r) => r.first));
    const all = median(results.map((r) => r.all));
    const bytes = median(results.map((r) => r.bytes));
    console.log(`${profile.name}: median first picture ${first.toFixed(0)} ms (${verdict(first, goals.first)} ${goals.first} ms), ` +
      `all in ${all.toFixed(0)} ms (${verdict(all, goals.all)} ${goals.all} ms), ${mb(bytes)}` +
      (goals.bytes ? ` (${verdict(bytes, goals.bytes)} ${mb(goals.bytes)})` : ''));
  }
} finally {
  await session.close();
}
