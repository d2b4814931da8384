// Start-up of built movies: the first picture fills the stage and the hint
// sits at the stage centre, at several movie sizes and picture counts; big
// movies load within a few seconds.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';

import { startSession } from './lib/player.mjs';
import { buildMovie } from './lib/movie.mjs';
import { Gallery } from './lib/gallery.mjs';
import { identify } from './lib/pictures.mjs';

let session;
before(async () => {
  session = await startSession();
});
after(async () => {
  await session?.close();
});

const SIZES = [[550, 400], [800, 600], [400, 600], [1920, 1080]];
const COUNTS = [1, 2, 36];

// Loads the movie and waits for its first picture; returns the gallery and
// the milliseconds from the start of loading to the first picture on screen.
async function startMovie(built) {
  const movie = await session.play(built.file, built);
  const gallery = new Gallery(movie, built.count);
  const first = await movie.waitForColour(...gallery.probe,
    (colour) => identify(colour, built.count) === 1, 30000);
  return { movie, gallery, first, ms: Date.now() - movie.loadStarted };
}

const timings = [];
after(() => {
  if (timings.length) console.log(`start-up times (load to first picture):\n  ${timings.join('\n  ')}`);
});

for (const [width, height] of SIZES) {
  for (const count of COUNTS) {
    test(`${width} x ${height}, ${count} picture(s): picture 1 fills the stage, the hint is centred`, { timeout: 60000 }, async (t) => {
      const built = buildMovie(session.folder, { width, height, count });
      assert.deepEqual([built.swf.width, built.swf.height], [width, height], 'frame size of the movie');
      const { movie, gallery, first, ms } = await startMovie(built);
      try {
        timings.push(`${width} x ${height}, ${count} picture(s): ${ms} ms`);
        assert.ok(first.ok, `picture 1 never showed; saw ${first.colour} ` +
          `(${identify(first.colour, count)}); console: ${movie.console.join(' | ')}`);

        const corners = [[3, 3], [width - 4, 3], [3, height - 4], [width - 4, height - 4]];
        const colours = await movie.colours([...corners, gallery.probe]);
        assert.deepEqual(colours.map((c) => identify(c, count)), [1, 1, 1, 1, 1],
          `picture 1 must cover the stage to its corners; saw ${JSON.stringify(colours)}`);

        const hint = await gallery.hintArea();
        assert.ok(Gallery.showsPicture(hint.beside, 1),
          `just outside the hint picture 1 shows; saw ${JSON.stringify(hint.beside)}`);
        const darkening = await gallery.hintDarkening();
        assert.ok(darkening > 0.25,
          `the hint panel lies over the stage centre: darkening ${darkening.toFixed(2)}, ` +
          `panel ${JSON.stringify(hint.panel)}`);
        t.diagnostic(`load to first picture: ${ms} ms`);
      } finally {
        await movie.close();
      }
    });
  }
}

test('1920 x 1080 movies of 1 and 36 pictures show their first picture, and say after how long', { timeout: 90000 }, async (t) => {
  const lines = [];
  for (const count of [1, 36]) {
    const built = buildMovie(session.folder, { width: 1920, height: 1080, count });
    const { movie, first, ms } = await startMovie(built);
    await movie.close();
    assert.ok(first.ok, `${count} picture(s): picture 1 never showed`);
    lines.push(`1920 x 1080, ${count} picture(s), ${built.swf.fileLength} bytes: first picture after ${ms} ms`);
  }
  for (const line of lines) t.diagnostic(line);
  console.log(lines.join('\n'));
});
