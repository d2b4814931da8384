// Turning through the pictures by dragging: thresholds of 100 pixels both
// ways, wrap-around, one step per mouse event, no step without a press, and
// a drag that goes on outside the stage until a release on it.
import { test, before, after } from 'node:test';

import { startSession } from './lib/player.mjs';
import { buildMovie } from './lib/movie.mjs';
import { Gallery } from './lib/gallery.mjs';
import { DRAG_CASES, DRAG_OUT_AND_RELEASE, runDragSteps } from './lib/dragTable.mjs';

const WIDTH = 550;
const HEIGHT = 400;

let session;
before(async () => {
  session = await startSession();
});
after(async () => {
  await session?.close();
});

// Plays a fresh movie of `count` pictures and runs `steps` on it.
async function play(count, steps) {
  const built = buildMovie(session.folder, { width: WIDTH, height: HEIGHT, count });
  const movie = await session.play(built.file, built);
  try {
    await runDragSteps(movie, new Gallery(movie, count), steps);
  } finally {
    await movie.close();
  }
}

const CASES = [
  ...DRAG_CASES,
  {
    name: 'a drag goes on outside the stage and after a release there, until a release on the stage',
    count: 6,
    steps: [
      ...DRAG_OUT_AND_RELEASE, // outside: the drag is not over
      ['jump', 300, 3], // back on the stage with the button up: 400 pixels left, one step back
      ['glide', 400, 4],
      ['click', 400, 4], // a press and a release on the stage end it
      ['glide', 520, 4],
      ['glide', 250, 4],
    ],
  },
];

for (const { name, count, steps } of CASES) {
  test(name, { timeout: 120000 }, () => play(count, steps));
}
