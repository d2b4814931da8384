// The drag table: what dragging does to the picture shown, for the movie
// and the web page alike. Each case is a list of steps, each step an action
// and the picture expected after it:
//   ['press', x]  pointer to x, button down   ['release']  button up
//   ['glide', x]  pointer to x in small moves ['jump', x]  one single move to x
//   ['click', x]  press and release at x
import assert from 'node:assert/strict';

export const Y = 320; // drags run along this row, below the hint

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
];

// A drag that leaves the stage to the right and ends with a release out
// there; what follows differs between the movie and the page.
export const DRAG_OUT_AND_RELEASE = [
  ['press', 400, 1],
  ['glide', 500, 2],
  ['glide', 600, 3], // outside the stage, button still down
  ['glide', 700, 4],
  ['release'],
];

// Runs the steps on a stage whose gallery shows picture 1, from the
// stage's middle; fails with the trace of what was shown so far.
export async function runDragSteps(stage, gallery, steps) {
  const trace = [];
  assert.equal(await gallery.waitFor(1, 10000), 1, 'picture 1 at start-up');
  await stage.move(stage.width / 2, Y);
  for (const [action, x, expected] of steps) {
    if (action === 'press') await stage.press(x, Y);
    else if (action === 'release') await stage.release();
    else if (action === 'glide') await stage.glide(x, Y);
    else if (action === 'jump') {
      await stage.move(x, Y);
      await stage.settle();
    } else if (action === 'click') {
      await stage.press(x, Y);
      await stage.release();
    } else throw new Error(`unknown action ${action}`);
    if (expected === undefined) continue;
    // A change shows within a few frames; "no change" needs the full wait.
    const previous = trace.length ? trace[trace.length - 1].shown : 1;
    const shown = expected === previous ? await gallery.shownAfterFrames() : await gallery.waitFor(expected);
    trace.push({ step: `${action} ${x ?? ''}`.trim(), shown });
    assert.equal(shown, expected,
      `after ${trace.map((s) => `${s.step} -> ${s.shown}`).join(', ')}: expected picture ${expected}; ` +
      `console: ${stage.console.join(' | ')}`);
  }
}
