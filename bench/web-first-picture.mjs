// How long a visitor waits for the first picture of a big web folder: 360
// pictures of 1920 x 1080 (12 different ones, each about the size of a
// photograph, repeated under 360 names), written by orbilux-build --web and
// served by a local HTTP server to headless Chromium with an empty cache.
// For each run it prints the time from the start of the navigation to the
// first picture on the screen (the page's largest contentful paint, or the
// frame after the picture is decoded where the browser reports none) and to
// the last picture in; then the median, the fastest and the slowest run.
// The page waits for one picture, not all, so the first figure must stay
// under 1 s.
//
// Usage, after a build: node bench/web-first-picture.mjs [runs]
// (ORBILUX_BUILD_DIR names another build folder than build/; COUNT=24 makes
// a smaller folder for a quick try).
import { execFileSync } from 'node:child_process';
import { mkdirSync, statSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { startSession } from '../tests/player/lib/player.mjs';
import { BUILDER } from '../tests/player/lib/movie.mjs';
import { watchFirstPicture } from './firstPictureProbe.mjs';

const WIDTH = 1920;
const HEIGHT = 1080;
const COUNT = Number(process.env.COUNT ?? 360);
const DISTINCT = 12;
const GOAL_MS = 1000;
const runs = Number(process.argv[2] ?? 5);

// A picture with gradients and fine grain, so that it compresses about as
// a photograph does, different for each k.
function makePhotoLikeJpeg(file, k) {
  const head = Buffer.from(`P6\n${WIDTH} ${HEIGHT}\n255\n`, 'latin1');
  const body = Buffer.alloc(WIDTH * HEIGHT * 3);
  let seed = 12345 + k;
  for (let y = 0, at = 0; y < HEIGHT; y++) {
    for (let x = 0; x < WIDTH; x++, at += 3) {
      seed = (seed * 1103515245 + 12345) >>> 0;
      const grain = (seed >>> 24) % 24;
      body[at] = (x * 255) / WIDTH / 2 + 60 + grain + k * 8;
      body[at + 1] = (y * 255) / HEIGHT / 2 + 40 + grain;
      body[at + 2] = ((x + y + k * 100) % 256) / 2 + grain;
    }
  }
  writeFileSync(file, execFileSync('cjpeg', ['-quality', '85'], { input: Buffer.concat([head, body]), maxBuffer: 64 << 20 }));
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const session = await startSession();
try {
  const pictures = path.join(session.folder, 'pictures');
  mkdirSync(pictures);
  const distinct = Array.from({ length: DISTINCT }, (_, k) => {
    const file = path.join(pictures, `photo${k}.jpg`);
    makePhotoLikeJpeg(file, k);
    return file;
  });
  const list = Array.from({ length: COUNT }, (_, i) => distinct[i % DISTINCT]);
  const site = path.join(session.folder, 'site');
  execFileSync(BUILDER, ['--web', site, ...list], { stdio: ['ignore', 'ignore', 'pipe'] });
  const megabytes = list.reduce((sum, file) => sum + statSync(file).size, 0) / 1e6;
  console.log(`${COUNT} pictures of ${WIDTH} x ${HEIGHT}, ${megabytes.toFixed(0)} MB, over ${session.address(site)}/`);

  const first = [];
  const all = [];
  for (let run = 1; run <= runs; run++) {
    // Taller than the picture: the browser does not count a picture that
    // covers the whole window as contentful.
    const context = await session.browser.newContext({ viewport: { width: WIDTH, height: HEIGHT + 120 }, deviceScaleFactor: 1 });
    const page = await context.newPage();
    await page.addInitScript(watchFirstPicture);
    await page.goto(session.address(path.join(site, 'index.html')), { waitUntil: 'commit' });
    first.push(await page.evaluate(() => window.firstPicture));
    await page.waitForFunction(() => document.querySelector('.progress')?.hidden, null, { timeout: 300000, polling: 100 });
    all.push(await page.evaluate(() => Math.max(...performance.getEntriesByType('resource')
      .filter((entry) => entry.name.includes('/pictures/')).map((entry) => entry.responseEnd))));
    console.log(`run ${run}: first picture ${first.at(-1).toFixed(0)} ms, all ${COUNT} in ${all.at(-1).toFixed(0)} ms`);
    await context.close();
  }
  const verdict = median(first) < GOAL_MS ? 'under' : 'OVER';
  console.log(`first picture: median ${median(first).toFixed(0)} ms, fastest ${Math.min(...first).toFixed(0)} ms, ` +
    `slowest ${Math.max(...first).toFixed(0)} ms (${verdict} the ${GOAL_MS} ms goal)`);
  console.log(`all pictures in: median ${median(all).toFixed(0)} ms`);
} finally {
  await session.close();
}
