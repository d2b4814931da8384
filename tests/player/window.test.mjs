// The preview in the program's own window, with big movies of real
// photographs. At the movie's own size the player draws each frame slowly
// and the engine merges the moves made meanwhile; there the drag table runs
// with quick drags (10 pixels every 40 ms). In the window as it opens the
// movie is fitted into the view, and every quick drag of 100 stage pixels
// and more turns one picture, at 2560 x 1600 and 5120 x 2880.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { buildMovie } from './lib/movie.mjs';
import { DRAG_CASES, runDragSteps } from './lib/dragTable.mjs';
import { Gallery } from './lib/gallery.mjs';
import { WindowHost, WindowMovie } from './lib/window.mjs';

// The main window's client area as it opens.
const WINDOW = { width: 862, height: 586 };
const PANEL_HEIGHT = 199;

let host;
let folder;
before(() => {
  folder = mkdtempSync(path.join(os.tmpdir(), 'orbilux-window-'));
  host = WindowHost.start();
});
after(async () => {
  await host?.close();
  rmSync(folder, { recursive: true, force: true });
});

async function preview(width, height, count) {
  return WindowMovie.open(host, buildMovie(folder, { width, height, count, photos: true }));
}

test('the drag table with quick drags on a 2560 x 1600 movie at its own size', { timeout: 900000 }, async (t) => {
  // Room for the whole movie and the line under it, so it is not shrunk.
  await host.request('resize', { width: 2600, height: 1700 + PANEL_HEIGHT });
  try {
    for (const { name, count, steps } of DRAG_CASES) {
      await t.test(name, async () => {
        const movie = await preview(2560, 1600, count);
        assert.equal(movie.scale, 1, 'the movie is shown at its own size');
        await runDragSteps(movie, new Gallery(movie, count), steps);
      });
    }
  } finally {
    await host.request('resize', WINDOW);
  }
});

for (const [width, height] of [[2560, 1600], [5120, 2880]]) {
  test(`${width} x ${height} fits the window as it opens, and every quick drag of 150 stage pixels turns once`, { timeout: 300000 }, async () => {
    const movie = await preview(width, height, 3);
    const [left, top] = movie.origin;
    const { area } = await host.request('movie');
    assert.ok(movie.scale < 1 && left >= 0 && top >= 0 && left + width * movie.scale <= area[0] &&
      top + height * movie.scale <= area[1], `the movie lies in the ${area} view: at ${movie.origin}, scale ${movie.scale}`);

    const gallery = new Gallery(movie, 3);
    const y = Math.round(height * 0.6);
    const expected = [2, 3, 1, 2, 3, 1, 3, 2, 1, 3, 2, 1];
    const seen = [];
    for (const [i, picture] of expected.entries()) {
      const [from, to] = i < 6 ? [width * 0.3, width * 0.3 + 150] : [width * 0.7, width * 0.7 - 150];
      await movie.press(Math.round(from), y);
      await movie.glide(Math.round(to), y);
      await movie.release();
      seen.push(await gallery.waitFor(picture));
    }
    assert.deepEqual(seen, expected, `six drags right, then six left (console: ${movie.console.join(' | ')})`);
  });
}
