// A page of a web folder (index.html or movie.html) in the browser, opened
// from the disk or over HTTP; the stage is the element that holds the
// pictures or the player.
import { Stage } from './stage.mjs';

// Page room right of and below the stage, so that the pointer can leave it.
const ROOM_RIGHT = 420;
const ROOM_BELOW = 40;

export class WebPage extends Stage {
  // Opens `url` in a context of its own, with a viewport that leaves room
  // around a width x height stage unless `viewport` is given; `touch` gives
  // it a touch screen, `ratio` its device pixel ratio; `motion` is the
  // visitor's motion preference ('reduce' keeps the page from turning by
  // itself). The stage's size is what the page made of it; `requests` lists
  // the pictures the page asked for ("960/002.jpg"), in order.
  static async open(browser, url, { width, height, selector = '.turn', touch = false, viewport = null, ratio = 1, motion = 'reduce' }) {
    const context = await browser.newContext({
      viewport: viewport ?? { width: width + ROOM_RIGHT, height: height + ROOM_BELOW },
      deviceScaleFactor: ratio,
      hasTouch: touch,
      reducedMotion: motion,
    });
    const page = await context.newPage();
    const stage = new WebPage(context, page, { left: 0, top: 0, width, height });
    stage.requests = [];
    page.on('request', (request) => {
      const picture = /\/pictures\/(.*)$/.exec(request.url());
      if (picture) stage.requests.push(picture[1]);
    });
    // Every picture turned to, by number, as the page shows them.
    await page.addInitScript(() => {
      window.turnedTo = [];
      document.addEventListener('DOMContentLoaded', () => {
        const layer = document.querySelector('.turn .pictures');
        if (!layer) return;
        new MutationObserver(() => {
          const shown = layer.querySelector('.picture:not(.large):not([hidden])');
          const k = shown && Number(/(\d+)\.jpg$/.exec(shown.currentSrc || shown.src)?.[1]);
          if (k && k !== (window.turnedTo.at(-1) ?? 1)) window.turnedTo.push(k);
        }).observe(layer, { subtree: true, childList: true, attributeFilter: ['hidden'] });
      });
    });
    // Not waiting for "load", which waits for pictures held back on purpose.
    await page.goto(url, { waitUntil: 'domcontentloaded' });
    const box = await page.locator(selector).boundingBox();
    Object.assign(stage, { left: box.x, top: box.y, width: box.width, height: box.height });
    return stage;
  }

  // Straight from the browser: the page's own screenshots wait for the
  // fonts, which wait for every picture, also those held back on purpose.
  async screenshot(clip) {
    const cdp = await this.context.newCDPSession(this.page);
    try {
      const { data } = await cdp.send('Page.captureScreenshot', { format: 'png', clip: { ...clip, scale: 1 } });
      return Buffer.from(data, 'base64');
    } finally {
      await cdp.detach();
    }
  }

  // The page turns on the event itself; a screenshot shortly after shows it.
  get frameWait() {
    return 60;
  }

  // One finger down at the first point, along the others and up again, as
  // the touch screen reports it (stage pixels).
  async touchDrag(points) {
    const cdp = await this.context.newCDPSession(this.page);
    const at = ([x, y]) => [{ x: this.left + x, y: this.top + y, id: 1 }];
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(points[0]) });
    for (const point of points.slice(1)) {
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(point) });
    }
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await cdp.detach();
  }

  // Two fingers down at the first pair of points, along the others and up
  // again (stage pixels): [[[x1, y1], [x2, y2]], ...].
  async touchPinch(pairs) {
    const cdp = await this.context.newCDPSession(this.page);
    const at = (pair) => pair.map(([x, y], id) => ({ x: this.left + x, y: this.top + y, id }));
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(pairs[0]) });
    for (const pair of pairs.slice(1)) await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(pair) });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await cdp.detach();
  }

  // The pictures the page turned to by itself or by hand, by number.
  turnedTo() {
    return this.page.evaluate(() => window.turnedTo);
  }

  // The transform that zooms and pans the pictures ('' at zoom 1).
  zoomTransform() {
    return this.page.evaluate(() => document.querySelector('.turn .pictures').style.transform);
  }
}
