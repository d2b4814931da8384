// The web folder's page, index.html: the movie's drag table from the disk
// and over HTTP, the hint, touch, the keys, scaling down, and the first
// picture showing while the others are still on their way.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { startSession } from './lib/player.mjs';
import { buildWebFolder } from './lib/movie.mjs';
import { Gallery } from './lib/gallery.mjs';
import { WebPage } from './lib/webpage.mjs';
import { DRAG_CASES, DRAG_OUT_AND_RELEASE, Y, runDragSteps } from './lib/dragTable.mjs';
import { checkHintFadeAndReturn } from './lib/hintFade.mjs';

const WIDTH = 550;
const HEIGHT = 400;

// While set, every picture but the first waits for this promise.
let heldBack = null;
let session;
before(async () => {
  session = await startSession({
    gate: (url) => (heldBack && /\/pictures\/(?:\d+\/)?(?!0*1\.jpg$)\d+\.jpg$/.test(url) ? heldBack : undefined),
  });
});
after(async () => {
  await session?.close();
});

const ADDRESSES = {
  'from the disk': (site) => pathToFileURL(path.join(site, 'index.html')).href,
  'over HTTP': (site) => session.address(path.join(site, 'index.html')),
};

// Opens the page of a fresh web folder of `count` pictures.
async function openPage(count, { from = 'over HTTP', ...options } = {}) {
  const built = buildWebFolder(session.folder, { width: WIDTH, height: HEIGHT, count });
  const page = await WebPage.open(session.browser, ADDRESSES[from](built.site), { width: WIDTH, height: HEIGHT, ...options });
  return { page, gallery: new Gallery(page, count) };
}

async function withPage(count, options, body) {
  const { page, gallery } = await openPage(count, options);
  try {
    await body(page, gallery);
  } finally {
    await page.close();
  }
}

const CASES = [
  ...DRAG_CASES,
  {
    name: 'a release anywhere ends the drag, also outside the stage',
    count: 6,
    steps: [
      ...DRAG_OUT_AND_RELEASE, // outside: the drag is over
      ['jump', 300, 4], // back on the stage with the button up: nothing
      ['glide', 100, 4],
    ],
  },
];

for (const from of Object.keys(ADDRESSES)) {
  for (const { name, count, steps } of CASES) {
    test(`${from}: ${name}`, { timeout: 60000 }, () =>
      withPage(count, { from }, (page, gallery) => runDragSteps(page, gallery, steps)));
  }
  test(`${from}: the hint fades after a press and comes back when the mouse leaves`, { timeout: 60000 }, (t) =>
    withPage(2, { from }, (page, gallery) => checkHintFadeAndReturn(t, page, gallery)));
}

test('a horizontal touch drag turns; a vertical swipe scrolls the page and does not', { timeout: 60000 }, () =>
  withPage(3, { touch: true }, async (page, gallery) => {
    assert.equal(await gallery.waitFor(1, 10000), 1);
    const along = (from, to, y) => Array.from({ length: 13 }, (_, i) => [from + ((to - from) * i) / 12, y]);
    await page.touchDrag(along(100, 220, Y));
    assert.equal(await gallery.waitFor(2), 2, 'a finger 120 pixels to the right steps forward');

    await page.page.evaluate(() => document.body.insertAdjacentHTML('beforeend', '<div style="height:2000px"></div>'));
    await page.touchDrag(Array.from({ length: 13 }, (_, i) => [300, 380 - i * 20]));
    // The page may glide on after the finger is off; wait until it rests.
    let scrolled = -1;
    for (let tries = 0; tries < 50; tries++) {
      await new Promise((resolve) => setTimeout(resolve, 60));
      const now = await page.page.evaluate(() => window.scrollY);
      if (now > 0 && now === scrolled) break;
      scrolled = now;
    }
    assert.ok(scrolled > 0, 'the swipe up scrolled the page');
    await page.page.evaluate(() => window.scrollTo(0, 0));
    assert.equal(await gallery.shownAfterFrames(), 2, 'and left the picture alone');
  }));

test('Left and Right turn the page that has the focus, round and round', { timeout: 60000 }, () =>
  withPage(3, {}, async (page, gallery) => {
    assert.equal(await gallery.waitFor(1, 10000), 1);
    await page.page.keyboard.press('ArrowRight');
    assert.equal(await gallery.shownAfterFrames(), 1, 'without the focus nothing turns');
    await page.page.focus('.turn');
    const keys = [['ArrowRight', 2], ['ArrowRight', 3], ['ArrowRight', 1], ['ArrowLeft', 3]];
    for (const [key, expected] of keys) {
      await page.page.keyboard.press(key);
      assert.equal(await gallery.waitFor(expected), expected, `after ${key}`);
    }
  }));

test('scaled down to half its width, half as far turns it', { timeout: 60000 }, () =>
  withPage(3, { viewport: { width: WIDTH / 2, height: HEIGHT } }, async (page, gallery) => {
    assert.deepEqual([page.width, page.height], [WIDTH / 2, HEIGHT / 2], 'the stage fits the page');
    assert.equal(await gallery.waitFor(1, 10000), 1);
    await page.press(50, 150);
    await page.glide(99, 150);
    assert.equal(await gallery.shownAfterFrames(), 1, '49 pixels on the screen are 98 picture pixels');
    await page.glide(100, 150);
    assert.equal(await gallery.waitFor(2), 2, '50 pixels on the screen are 100 picture pixels');
    await page.release();
  }));

test('the first picture shows while the others are on their way, with a line that grows until all are in', { timeout: 60000 }, async () => {
  let letThrough;
  heldBack = new Promise((resolve) => {
    letThrough = resolve;
  });
  try {
    await withPage(4, {}, async (page, gallery) => {
      assert.equal(await gallery.waitFor(1, 10000), 1, 'picture 1 shows');
      const state = () => page.page.evaluate(() => ({
        line: document.querySelector('.progress').hidden ? null : document.querySelector('.progress').style.width,
        arrived: [...document.querySelectorAll('.picture')].map((p) => p.naturalWidth > 0),
      }));
      assert.deepEqual(await state(), { line: '25%', arrived: [true, false, false, false] });
      letThrough();
      for (let tries = 0; tries < 100 && (await state()).line !== null; tries++) {
        await new Promise((resolve) => setTimeout(resolve, 40));
      }
      assert.deepEqual(await state(), { line: null, arrived: [true, true, true, true] });
    });
  } finally {
    heldBack = null;
    letThrough();
  }
});
