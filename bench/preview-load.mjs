// How long the preview takes from the click on Preview to the first picture
// on the screen, in the window's own web view, beside the same movie in
// headless Chromium with the same player over a local HTTP server (the
// player tests' page, the movie at its own size). Movies of 36 and 360 real
// photographs of 1920 x 1080 (tests/player/lib/photos.mjs; made once and kept
// in the build folder). Run on an X display, as a user runs the window:
//
//   xvfb-run -a node bench/preview-load.mjs [--runs N] [--counts 36,360]
//
// after a build (scripts/build build; ORBILUX_BUILD_DIR names another build
// folder). Each figure is the median of N runs (3 by default), after one
// warm-up preview that starts the web engine; every run is printed too.
import { copyFileSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { parseArgs } from 'node:util';

import { buildMovie } from '../tests/player/lib/movie.mjs';
import { Gallery } from '../tests/player/lib/gallery.mjs';
import { distance, pictureColour } from '../tests/player/lib/pictures.mjs';
import { REPO, startSession } from '../tests/player/lib/player.mjs';
import { WindowHost } from '../tests/player/lib/window.mjs';

const WIDTH = 1920;
const HEIGHT = 1080;
const TIMEOUT_MS = 300000;

const { values: options } = parseArgs({
  options: { runs: { type: 'string', default: '3' }, counts: { type: 'string', default: '36,360' } },
});
const runs = Number(options.runs);
const counts = options.counts.split(',').map(Number);
if (!process.env.DISPLAY) {
  console.error('No X display: run under xvfb-run -a.');
  process.exit(1);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const isPictureOne = (colour) => distance(colour, pictureColour(1)) < 25;
// Where picture 1 is told from the others: its marker in the photograph.
const probeOf = ({ width, height }) => new Gallery({ width, height, centre: [width / 2, height / 2] }, 1).probe;

// The movies, built once into the build folder.
const buildDir = process.env.ORBILUX_BUILD_DIR || path.join(REPO, 'build');
const store = path.join(buildDir, 'bench', 'preview-photos');
const movies = counts.map((count) => {
  process.stderr.write(`making the movie of ${count} photographs in ${store} ...\n`);
  return buildMovie(store, { width: WIDTH, height: HEIGHT, count, photos: true });
});

// Milliseconds from the click to picture 1 in the window, polling the
// view's colour at the probe point on the host's own clock.
async function windowRun(host, built) {
  const { clicked, message } = await host.request('preview', { movie: built.file, width: built.width, height: built.height });
  const probe = probeOf(built);
  if (message) throw new Error(`the Preview command reported: ${message}`);
  let point = null;
  for (;;) {
    const state = await host.request('movie');
    if (state.notice && !state.notice.startsWith('Loading')) throw new Error(`the preview says: ${state.notice}`);
    if (state.clock - clicked > TIMEOUT_MS) throw new Error(`no first picture after ${TIMEOUT_MS} ms`);
    if (state.rect && state.rect[2] > 0) {
      const [left, top, width, height] = state.rect;
      const scale = Math.min(width / built.width, height / built.height);
      point ??= [left + probe[0] * scale, top + probe[1] * scale];
      const { colours, clock } = await host.request('colours', { points: [point] });
      if (isPictureOne(colours[0])) return clock - clicked;
    }
    await sleep(20);
  }
}

// Milliseconds from the start of loading to picture 1 in the browser.
async function browserRun(session, built) {
  const movie = await session.play(built.file, built);
  try {
    const first = await movie.waitForColour(...probeOf(built), isPictureOne, TIMEOUT_MS);
    if (!first.ok) throw new Error(`no first picture after ${TIMEOUT_MS} ms`);
    return Date.now() - movie.loadStarted;
  } finally {
    await movie.close();
  }
}

// Runs the warm-up once, then every movie `runs` times; the times per movie.
async function measure(name, handle, run, builtMovies, warmUp) {
  const times = builtMovies.map(() => []);
  await run(handle, warmUp);
  for (let r = 0; r < runs; r++) {
    for (const [i, built] of builtMovies.entries()) {
      const ms = await run(handle, built);
      times[i].push(ms);
      process.stderr.write(`${name}, ${built.count} pictures, run ${r + 1}: ${Math.round(ms)} ms\n`);
    }
  }
  return times;
}

const scratch = mkdtempSync(path.join(os.tmpdir(), 'orbilux-bench-'));
const session = await startSession();
let host = null;
try {
  const warmUp = buildMovie(scratch, { width: 550, height: 400, count: 1 });
  // The browser plays movies from the folder its server serves.
  const served = (built) => {
    const file = path.join(session.folder, path.basename(built.file));
    copyFileSync(built.file, file);
    return { ...built, file };
  };
  const browserTimes = await measure('browser', session, browserRun, movies.map(served), served(warmUp));
  host = WindowHost.start({ QT_QPA_PLATFORM: 'xcb' });
  const windowTimes = await measure('window', host, windowRun, movies, warmUp);

  console.log(`Preview to first picture, ${WIDTH} x ${HEIGHT} photographs, median of ${runs} run(s); ` +
    `window on QT_QPA_PLATFORM=xcb with QTWEBENGINE_CHROMIUM_FLAGS="${process.env.QTWEBENGINE_CHROMIUM_FLAGS ?? ''}"`);
  console.log('pictures  movie       window ms  browser ms  window/browser  (runs: window | browser)');
  for (const [i, built] of movies.entries()) {
    const w = median(windowTimes[i]);
    const b = median(browserTimes[i]);
    const size = `${(statSync(built.file).size / 1e6).toFixed(1)} MB`;
    console.log(`${String(built.count).padStart(8)}  ${size.padEnd(10)}  ${String(Math.round(w)).padStart(9)}` +
      `  ${String(Math.round(b)).padStart(10)}  ${(w / b).toFixed(2).padStart(14)}` +
      `  (${windowTimes[i].map(Math.round).join(', ')} | ${browserTimes[i].map(Math.round).join(', ')})`);
  }
} finally {
  await host?.close();
  await session.close();
  rmSync(scratch, { recursive: true, force: true });
}
