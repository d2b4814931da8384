// Proves the harness itself with a movie written here, independent of the
// program: the page shows the whole stage at its own size, unscaled and
// uncovered, and screenshot colours are read at the right stage pixels.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import path from 'node:path';

import { startSession } from './lib/player.mjs';
import { readSwf, writeRectMovie } from './lib/swf.mjs';
import { distance } from './lib/pictures.mjs';

let session;
before(async () => {
  session = await startSession();
});
after(async () => {
  await session?.close();
});

const BLUE = [20, 40, 200];
const RED = [230, 30, 30];
const GREEN = [30, 200, 60];

for (const [width, height] of [[550, 400], [300, 500]]) {
  test(`a ${width} x ${height} movie fills the player exactly, pixel for pixel`, { timeout: 60000 }, async () => {
    const file = path.join(session.folder, `rects-${width}x${height}.swf`);
    const bytes = writeRectMovie({
      width, height, background: BLUE,
      rects: [
        { colour: RED, x: 0, y: 0, w: width / 2, h: height },
        { colour: GREEN, x: width - 10, y: height - 10, w: 10, h: 10 },
      ],
    });
    writeFileSync(file, bytes);
    const swf = readSwf(bytes);
    assert.deepEqual([swf.width, swf.height, swf.fileLength], [width, height, bytes.length]);

    const movie = await session.play(file, { width, height });
    try {
      const probes = [
        [[1, 1], RED], [[width / 2 - 3, height / 2], RED], [[width / 2 + 3, height / 2], BLUE],
        [[width - 13, height - 4], BLUE], [[width - 4, height - 4], GREEN], [[width - 4, 4], BLUE],
      ];
      const shown = await movie.waitForColour(1, 1, (c) => distance(c, RED) < 10, 20000);
      assert.ok(shown.ok, `the movie never showed; console: ${movie.console.join(' | ')}`);
      const colours = await movie.colours(probes.map(([p]) => p));
      probes.forEach(([point, expected], i) => {
        assert.ok(distance(colours[i], expected) < 10,
          `at ${point} expected ${expected}, saw ${colours[i]}`);
      });
    } finally {
      await movie.close();
    }
  });
}
