// Turning through the pictures by dragging: thresholds of 100 pixels both
// ways, wrap-around, one step per mouse event, no step without a press, and
// a drag that goes on outside the stage until a release on it.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';

import { startSession } from './lib/player.mjs';
import { buildMovie } from './lib/movie.mjs';
import { Gallery } from './lib/gallery.mjs';

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

// Plays a fresh movie of `count` pictures and runs `steps` on it: each step
// is an action and the picture expected after it.
//   ['press', x]  pointer to x, button down   ['release']  button up
//   ['glide', x]  pointer to x in small moves ['jump', x]  one single move to x
//   ['click', x]  press and release at x
async function play(count, steps) {
  const built = buildMovie(session.folder, { width: WIDTH, height: HEIGHT, count });
  const movie = await session.play(built.file, built);
  const gallery = new Gallery(movie, count);
  const trace = [];
  try {
    assert.equal(await gallery.waitFor(1, 10000), 1, 'picture 1 at start-up');
    await movie.move(WIDTH / 2, Y);
    for (const [action, x, expected] of steps) {
      if (action === 'press') await movie.press(x, Y);
      else if (action === 'release') await movie.release();
      else if (action === 'glide') await movie.glide(x, Y);
      else if (action === 'jump') {
        await movie.move(x, Y);
        await movie.settle();
      } else if (action === 'click') {
        await movie.press(x, Y);
        await movie.release();
      } else throw new Error(`unknown action ${action}`);
      if (expected === undefined) continue;
      // A change shows within a few frames; "no change" needs the full wait.
      const previous = trace.length ? trace[trace.length - 1].shown : 1;
      const shown = expected === previous ? await gallery.shownAfterFrames() : await gallery.waitFor(expected);
      trace.push({ step: `${action} ${x ?? ''}`.trim(), shown });
      assert.equal(shown, expected,
        `after ${trace.map((s) => `${s.step} -> ${s.shown}`).join(', ')}: expected picture ${expected}; ` +
        `console: ${movie.console.join(' | ')}`);
    }
  } finally {
    await movie.close();
  }
}

const CASES = [
  {
    name: '100 pixels to the right steps forward, 99 do not, and forward wraps from the last to the first',
    count: 3,
    steps: [
      ['press', 100, 1],
      ['glide', 199, 1],
      ['glide', 200, 2],
      ['glide', 299, 2],
      ['glide', 300, 3],
      ['glide', 400, 1],
      ['glide', 500, 2],
      ['release'],
    ],
  },
  {
    name: '100 pixels to the left steps back, 99 do not, and back wraps from the first to the last',
    count: 3,
    steps: [
      ['press', 450, 1],
      ['glide', 351, 1],
      ['glide', 350, 3],
      ['glide', 251, 3],
      ['glide', 250, 2],
      ['glide', 150, 1],
      ['glide', 50, 3],
      ['release'],
    ],
  },
  {
    name: 'with one picture every step lands on it again',
    count: 1,
    steps: [
      ['press', 50, 1],
      ['glide', 150, 1],
      ['glide', 350, 1],
      ['glide', 150, 1],
      ['glide', 50, 1],
      ['release', undefined, 1],
    ],
  },
  {
    name: 'one mouse event 250 pixels to the right takes one step; the next needs 100 pixels from there',
    count: 5,
    steps: [
      ['press', 100, 1],
      ['jump', 350, 2],
      ['glide', 449, 2],
      ['glide', 450, 3],
      ['jump', 200, 2],
      ['release'],
    ],
  },
  {
    name: 'moving without a press, or after the release, changes nothing',
    count: 4,
    steps: [
      ['glide', 50, 1],
      ['glide', 500, 1],
      ['glide', 50, 1],
      ['press', 100],
      ['glide', 200, 2],
      ['release'],
      ['glide', 500, 2],
      ['glide', 50, 2],
    ],
  },
  {
    name: 'a drag goes on outside the stage and after a release there, until a release on the stage',
    count: 6,
    steps: [
      ['press', 400, 1],
      ['glide', 500, 2],
      ['glide', 600, 3], // outside the stage, button still down
      ['glide', 700, 4],
      ['release'], // outside: the drag is not over
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
