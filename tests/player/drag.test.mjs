// Turning through the pictures by dragging: thresholds of 100 pixels both
// ways, wrap-around, one step per mouse event, no step without a press, and
// a drag that goes on outside the stage until a release on it.
import { test, before, after } from 'node:test';

import { startSession } from './lib/player.mjs';
import { buildMovie } from './lib/movie.mjs';
import { DRAG_CASES, runDragSteps } from './lib/drags.mjs';

const WIDTH = 550;
const HEIGHT = 400;
const Y = 320; // drags run along this row, below the hint

let session;
before(async () => {
  session = await startSession();
});
after(async () => {
  await session?.close();
});

// Plays a fresh movie of `count` pictures and runs the table's `steps` on it.
async function play(count, steps) {
  const built = buildMovie(session.folder, { width: WIDTH, height: HEIGHT, count });
  const movie = await session.play(built.file, built);
  try {
    await runDragSteps(movie, count, steps, Y);
  } finally {
    await movie.close();
  }
}

for (const { name, count, steps } of DRAG_CASES) {
  test(name, { timeout: 120000 }, () => play(count, steps));
}
