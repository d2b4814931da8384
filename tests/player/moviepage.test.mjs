// The web folder's movie page, movie.html, over HTTP: the bundled player
// plays the movie at once, with nothing over it, fitted to the window, and a
// drag turns it. From
// the disk, where the player cannot run, it points to index.html instead.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

import { startSession } from './lib/player.mjs';
import { buildWebFolder } from './lib/movie.mjs';
import { Gallery } from './lib/gallery.mjs';
import { identify } from './lib/pictures.mjs';
import { WebPage } from './lib/webpage.mjs';
import { runDragSteps } from './lib/dragTable.mjs';

const WIDTH = 550;
const HEIGHT = 400;

let session;
before(async () => {
  session = await startSession();
});
after(async () => {
  await session?.close();
});

// Picture k at every corner and below the hint: no play button, splash
// screen or notice lies over the movie.
async function assertUncovered(page, count, k, when) {
  const [width, height] = [page.width, page.height].map(Math.floor);
  const points = [[3, 3], [width - 4, 3], [3, height - 4], [width - 4, height - 4], [Math.floor(width / 2), height - 40]];
  const colours = await page.colours(points);
  assert.deepEqual(colours.map((c) => identify(c, count)), points.map(() => k),
    `${when}: picture ${k} fills the stage; saw ${JSON.stringify(colours)}; console: ${page.console.join(' | ')}`);
}

test('over HTTP the movie plays at once with nothing over it, and a drag turns it', { timeout: 90000 }, async () => {
  const { site, count } = buildWebFolder(session.folder, { width: WIDTH, height: HEIGHT, count: 3 });
  const page = await WebPage.open(session.browser, session.address(path.join(site, 'movie.html')),
    { width: WIDTH, height: HEIGHT, selector: '#movie' });
  try {
    const gallery = new Gallery(page, count);
    assert.equal(await gallery.waitFor(1, 15000), 1, `picture 1 shows; console: ${page.console.join(' | ')}`);
    await assertUncovered(page, count, 1, 'at start-up');
    await runDragSteps(page, gallery, [['press', 100, 1], ['glide', 199, 1], ['glide', 200, 2], ['release']]);
    await assertUncovered(page, count, 2, 'after the drag');
  } finally {
    await page.close();
  }
});

// The movie fits the window in its own proportions.
const FIT_CASES = [
  { name: 'a narrow window', viewport: [300, 500], movie: [300, 218] },
  { name: 'a low window', viewport: [900, 200], movie: [275, 200] },
];
for (const { name, viewport, movie } of FIT_CASES) {
  test(`the movie fits ${name}`, { timeout: 90000 }, async () => {
    const { site, count } = buildWebFolder(session.folder, { width: WIDTH, height: HEIGHT, count: 2 });
    const page = await WebPage.open(session.browser, session.address(path.join(site, 'movie.html')),
      { width: WIDTH, height: HEIGHT, selector: '#movie', viewport: { width: viewport[0], height: viewport[1] } });
    try {
      assert.deepEqual([page.width, page.height].map(Math.round), movie);
      assert.equal(await new Gallery(page, count).waitFor(1, 15000), 1, `picture 1 shows; console: ${page.console.join(' | ')}`);
      await assertUncovered(page, count, 1, 'fitted');
    } finally {
      await page.close();
    }
  });
}

test('opened from the disk it says to use index.html', { timeout: 30000 }, async () => {
  const { site } = buildWebFolder(session.folder, { width: WIDTH, height: HEIGHT, count: 1 });
  const page = await WebPage.open(session.browser, pathToFileURL(path.join(site, 'movie.html')).href,
    { width: WIDTH, height: HEIGHT, selector: 'body' });
  try {
    const note = page.page.locator('#note');
    assert.ok(await note.isVisible());
    assert.match(await note.textContent(), /only from a web server.*index\.html/s);
  } finally {
    await page.close();
  }
});
