// The drag table: turning through the pictures by dragging, with thresholds
// of 100 pixels both ways, wrap-around, one step per mouse event, no step
// without a press, and a drag that goes on outside the stage until a release
// on it. It runs on any movie that answers the pointer and colour calls of a
// browser Movie: in the browser and in the program's own window.
import assert from 'node:assert/strict';

import { Gallery } from './gallery.mjs';

// Runs `steps` on a movie of `count` pictures whose picture 1 shows; drags
// run along row y. Each step is an action and the picture expected after it:
//   ['press', x]  pointer to x, button down   ['release']  button up
//   ['glide', x]  pointer to x in small moves ['jump', x]  one single move to x
//   ['click', x]  press and release at x
export async function runDragSteps(movie, count, steps, y) {
  const gallery = new Gallery(movie, count);
  const trace = [];
  assert.equal(await gallery.waitFor(1, 10000), 1, 'picture 1 at start-up');
  await movie.move(movie.width / 2, y);
  for (const [action, x, expected] of steps) {
    if (action === 'press') await movie.press(x, y);
    else if (action === 'release') await movie.release();
    else if (action === 'glide') await movie.glide(x, y);
    else if (action === 'jump') {
      await movie.move(x, y);
      await movie.settle();
    } else if (action === 'click') {
      await movie.press(x, y);
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
}

// Positions are stage pixels of a movie at least 550 pixels wide; the case
// marked leavesStage needs a stage exactly 550 pixels wide with room right of it.
export const DRAG_CASES = [
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
    leavesStage: true,
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
