// The web folder's page, index.html: the movie's drag table from the disk
// and over HTTP, the hint, touch, the keys, fitting the window, the width of
// the pictures it takes, the order they come in, zoom, and turning by itself.
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

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls `check` until it returns something true; fails after `timeout` ms.
async function until(check, what, timeout = 10000) {
  const start = Date.now();
  for (;;) {
    const result = await check();
    if (result) return result;
    if (Date.now() - start > timeout) throw new Error(`waited ${timeout} ms for ${what}`);
    await sleep(20);
  }
}

// The server holds back each picture for which `holding(url)` is true
// until the test lets it through.
let holding = null;
let held = [];
const pictureNumber = (url) => Number(/(\d+)\.jpg$/.exec(url)[1]);
const letThrough = (entries) => {
  for (const entry of entries) entry.release();
  held = held.filter((entry) => !entries.includes(entry));
};
async function whileHolding(which, body) {
  holding = which;
  held = [];
  try {
    await body();
  } finally {
    holding = null;
    letThrough(held);
  }
}

let session;
before(async () => {
  session = await startSession({
    gate: (url) => {
      if (!url.includes('/pictures/') || !holding?.(url)) return undefined;
      return new Promise((release) => held.push({ url, release }));
    },
  });
});
after(async () => {
  await session?.close();
});

const ADDRESSES = {
  'from the disk': (site) => pathToFileURL(path.join(site, 'index.html')).href,
  'over HTTP': (site) => session.address(path.join(site, 'index.html')),
};

// Opens the page of a fresh web folder of `count` pictures of `size`,
// written with the builder's `options`.
async function openPage(count, { from = 'over HTTP', size = [WIDTH, HEIGHT], options = [], ...open } = {}) {
  const [width, height] = size;
  const built = buildWebFolder(session.folder, { width, height, count, options });
  const page = await WebPage.open(session.browser, ADDRESSES[from](built.site), { width, height, ...open });
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

// The line at the top and how many pictures are in.
const loading = (page) => page.page.evaluate(() => ({
  line: document.querySelector('.progress').hidden ? null : document.querySelector('.progress').style.width,
  in: [...document.querySelectorAll('.pictures .picture:not(.large)')].filter((p) => p.naturalWidth > 0).length,
}));
const allIn = (page) => until(async () => (await loading(page)).line === null, 'every picture in');

test('the first picture shows while the others are on their way, with a line that grows until all are in; ' +
  'a turn onto a picture not in yet shows the nearest one that is', { timeout: 60000 }, () =>
  whileHolding((url) => !/\/0*[12]\.jpg$/.test(url), () => withPage(5, {}, async (page, gallery) => {
    assert.equal(await gallery.waitFor(1, 10000), 1, 'picture 1 shows');
    await until(() => held.length === 3, 'the other three on their way');
    // Picture 2 is through the gate, but may still be on its way to the page.
    await until(async () => (await loading(page)).in === 2, 'picture 2 in');
    assert.deepEqual(await loading(page), { line: '40%', in: 2 });
    await runDragSteps(page, gallery, [
      ['press', 100, 1],
      ['glide', 200, 2],
      ['glide', 300, 2], // 3 is not in: 2 stays
      ['glide', 400, 2], // 4: 2 is nearer than 1
      ['glide', 500, 1], // 5: 1 is nearer
      ['release'],
    ]);
    letThrough(held);
    await allIn(page);
    assert.deepEqual(await loading(page), { line: null, in: 5 });
    assert.equal(await gallery.waitFor(5), 5, 'picture 5 shows once in');
  })));

// Counted as the page asks, not as the server is asked: over HTTP/1.1 the
// browser queues some requests itself, which would hide a page that asks
// for every picture at once.
test('the first picture comes alone, then the others outward from the one shown, at most four at a time', { timeout: 60000 }, () =>
  whileHolding(() => true, () => withPage(9, {}, async (page) => {
    const order = [1, 2, 9, 3, 8, 4, 7, 5, 6];
    const asked = () => page.requests.map(pictureNumber);
    for (let through = 0; through < order.length; through++) {
      const coming = through === 0 ? 1 : Math.min(4, order.length - through);
      await until(() => held.length >= coming && asked().length >= through + coming, `${coming} pictures on their way`);
      assert.deepEqual(asked(), order.slice(0, through + coming), `asked for with ${through} in`);
      letThrough(held.slice(0, 1));
    }
  })));

// Pictures of 2000 x 1000 come in widths 480, 960, 1440 and 1920.
const WIDTH_CASES = [
  { name: 'a 700-pixel stage on a ratio-1 screen takes the 960-wide pictures', viewport: [700, 500], ratio: 1, widths: [960] },
  { name: 'on a ratio-3 screen the 1440-wide ones, as on a ratio-2 one', viewport: [700, 500], ratio: 3, widths: [1440] },
  { name: 'grown from 400 to 1000 pixels wide it moves up from 480 to 1440', viewport: [400, 500], ratio: 1, widths: [480],
    grown: [1000, 800], then: [480, 1440] },
];
for (const { name, viewport, ratio, widths, grown, then } of WIDTH_CASES) {
  test(`pictures sized for the screen: ${name}`, { timeout: 60000 }, () =>
    withPage(3, { size: [2000, 1000], viewport: { width: viewport[0], height: viewport[1] }, ratio }, async (page) => {
      const widthsAsked = () => [...new Set(page.requests.map((r) => Number(r.split('/')[0])))].sort((a, b) => a - b);
      await allIn(page);
      assert.deepEqual(widthsAsked(), widths, `asked for ${page.requests}`);
      if (!grown) return;
      await page.page.setViewportSize({ width: grown[0], height: grown[1] });
      const largest = then[then.length - 1];
      await until(() => [1, 2, 3].every((k) => page.requests.includes(`${largest}/00${k}.jpg`)), `every picture at ${largest}`);
      assert.deepEqual(widthsAsked(), then, `asked for ${page.requests}`);
    }));
}

// Pictures of 1200 x 800 on a 500-pixel stage: 960 wide, 1200 when zoomed
// (or the originals). Each way in zooms picture 2, which alone comes
// larger; a drag then pans rather than turns, Right still turns (and
// fetches that picture larger), and a double click back to zoom 1 brings
// the drag rule back.
const ZOOM_CASES = [
  { name: 'the + key', zoomIn: (page) => page.page.keyboard.press('+') },
  {
    name: 'the wheel with Ctrl',
    zoomIn: async (page) => {
      await page.move(250, 160);
      await page.page.keyboard.down('Control');
      await page.page.mouse.wheel(0, -200);
      await page.page.keyboard.up('Control');
    },
  },
  { name: 'a double click', zoomIn: (page) => page.page.mouse.dblclick(page.left + 250, page.top + 160) },
  { name: 'a pinch', touch: true, zoomIn: (page) => page.touchPinch([[[200, 160], [300, 160]], [[150, 160], [350, 160]], [[100, 160], [400, 160]]]) },
  { name: 'the + key, with the originals for zoom', options: ['--web-zoom-originals'], large: 'original', zoomIn: (page) => page.page.keyboard.press('+') },
];
for (const { name, zoomIn, touch = false, options = [], large = '1200' } of ZOOM_CASES) {
  test(`zoom with ${name}: the shown picture alone comes larger and a drag pans`, { timeout: 60000 }, () =>
    withPage(3, { size: [1200, 800], viewport: { width: 500, height: 420 }, touch, options }, async (page, gallery) => {
      await allIn(page);
      await page.page.focus('.turn');
      await page.page.keyboard.press('ArrowRight');
      assert.equal(await gallery.waitFor(2), 2);
      page.requests.length = 0;
      await zoomIn(page);
      await until(() => page.requests.length, 'the larger picture asked for');
      const zoomed = await page.zoomTransform();
      assert.notEqual(zoomed, '', 'zoomed');
      await page.press(300, 250);
      await page.glide(100, 250);
      await page.release();
      assert.equal(await gallery.shownAfterFrames(), 2, 'a drag does not turn');
      assert.notEqual(await page.zoomTransform(), zoomed, 'it pans');
      await page.page.keyboard.press('ArrowRight');
      assert.equal(await gallery.waitFor(3), 3, 'Right turns');
      await until(() => page.requests.length === 2, 'the next larger picture');
      assert.deepEqual(page.requests, [`${large}/002.jpg`, `${large}/003.jpg`]);
      await page.page.mouse.dblclick(page.left + 250, page.top + 160);
      assert.equal(await page.zoomTransform(), '', 'zoom 1');
      await page.press(100, 250);
      await page.glide(145, 250);
      assert.equal(await gallery.waitFor(1), 1, 'a step (100 of 1200 pixels) turns again');
      await page.release();
    }));
}

// Each step: ['turns', [k, ...]] waits until the page has turned to these
// pictures, ['tap'] touches the stage, ['rests'] sees it turn no further.
const AUTOPLAY_CASES = [
  { name: 'once all are in, it turns once round by itself and rests', steps: [['turns', [2, 3, 1]], ['rests']] },
  { name: 'with --autoplay loop it goes on', options: ['--autoplay', 'loop'], steps: [['turns', [2, 3, 1, 2]]] },
  { name: 'a touch stops it for good', options: ['--autoplay', 'loop'], touch: true, steps: [['turns', [2]], ['tap'], ['rests']] },
  { name: 'it does not start where the visitor prefers less motion', motion: 'reduce', steps: [['rests']] },
  { name: 'nor with --autoplay off', options: ['--autoplay', 'off'], steps: [['rests']] },
];
for (const { name, motion = 'no-preference', touch = false, options = [], steps } of AUTOPLAY_CASES) {
  test(`turning by itself: ${name}`, { timeout: 60000 }, () =>
    withPage(3, { motion, touch, options }, async (page) => {
      await allIn(page);
      for (const [action, expected] of steps) {
        if (action === 'turns') {
          const turned = await until(async () => {
            const now = await page.turnedTo();
            return now.length >= expected.length && now;
          }, `turns to ${expected}`);
          assert.deepEqual(turned.slice(0, expected.length), expected);
        } else if (action === 'tap') {
          await page.touchDrag([[100, 300]]);
        } else {
          const before = await page.turnedTo();
          await sleep(1000); // longer than two of its steps
          assert.deepEqual(await page.turnedTo(), before, 'it rests');
        }
      }
    }));
}

// Pictures of 1800 x 1200: the stage fits the window, the hint keeps its
// size, and a step is what 100 pixels are on a 1280-wide picture.
const FIT_CASES = [
  { name: 'a 1366 x 768 desktop', viewport: [1366, 768], ratio: 1, stage: [1152, 768] },
  { name: 'a 390 x 844 phone', viewport: [390, 844], ratio: 3, touch: true, stage: [390, 260] },
];
for (const { name, viewport, ratio, touch = false, stage } of FIT_CASES) {
  test(`the stage fits ${name}`, { timeout: 60000 }, () =>
    withPage(3, { size: [1800, 1200], viewport: { width: viewport[0], height: viewport[1] }, ratio, touch }, async (page, gallery) => {
      assert.deepEqual([page.width, page.height].map(Math.round), stage);
      assert.equal((await page.page.locator('.turn .hint').boundingBox()).width, 218, 'the hint at its own size');
      const step = (stage[0] * 100) / 1280;
      const y = stage[1] * 0.75;
      assert.equal(await gallery.waitFor(1, 10000), 1);
      await page.press(10, y);
      await page.glide(10 + step - 1, y);
      assert.equal(await gallery.shownAfterFrames(), 1, `${(step - 1).toFixed(1)} pixels do not turn`);
      await page.glide(10 + step + 1, y);
      assert.equal(await gallery.waitFor(2), 2, `${(step + 1).toFixed(1)} pixels turn`);
      await page.release();
    }));
}
