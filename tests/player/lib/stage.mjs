// A stage on a browser page, the movie's or the web page's: real mouse
// events at stage pixels, screen colours from screenshots, and the page's
// console. Coordinates are stage pixels, (0, 0) at the stage's top-left
// corner, which lies at (left, top) on the page.
import { decodePng, colourAt } from './png.mjs';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls stage.colourAt(x, y) until `accept(colour)` holds or the time is up;
// returns { colour, ok, ms } with the time taken. For any stage, also the
// window's.
export async function waitForColour(stage, x, y, accept, timeout) {
  const start = Date.now();
  for (;;) {
    const colour = await stage.colourAt(x, y);
    const ms = Date.now() - start;
    if (accept(colour)) return { colour, ok: true, ms };
    if (ms > timeout) return { colour, ok: false, ms };
    await sleep(40);
  }
}

// The player styles its log lines with %c and CSS arguments; keep the words.
function cleanConsoleText(text) {
  return text.replace(/%c/g, '').replace(/\s+(?:color|background):[^\n]*$/, '').replace(/\s+/g, ' ').trim();
}

export class Stage {
  constructor(context, page, { left, top, width, height }) {
    this.context = context;
    this.page = page;
    this.left = left;
    this.top = top;
    this.width = width;
    this.height = height;
    this.messages = new Map(); // console text -> how often it came
    this.pointer = null;
    page.on('console', (message) => this.log(`${message.type()}: ${cleanConsoleText(message.text())}`));
    page.on('pageerror', (error) => this.log(`pageerror: ${error.message}`));
  }

  log(text) {
    this.messages.set(text, (this.messages.get(text) ?? 0) + 1);
  }

  // The page's console output so far, each distinct message once.
  get console() {
    return [...this.messages].map(([text, count]) => (count > 1 ? `${text} (${count} times)` : text));
  }

  get centre() {
    return [Math.floor(this.width / 2), Math.floor(this.height / 2)];
  }

  // One screenshot of the part of the stage that holds the points; returns
  // the mean colour of the 5 x 5 square around each point.
  async colours(points) {
    const r = 2;
    const x0 = Math.max(0, Math.min(...points.map(([x]) => x)) - r);
    const y0 = Math.max(0, Math.min(...points.map(([, y]) => y)) - r);
    const x1 = Math.min(this.width, Math.max(...points.map(([x]) => x)) + r + 1);
    const y1 = Math.min(this.height, Math.max(...points.map(([, y]) => y)) + r + 1);
    const image = decodePng(await this.screenshot({ x: this.left + x0, y: this.top + y0, width: x1 - x0, height: y1 - y0 }));
    return points.map(([x, y]) => colourAt(image, x - x0, y - y0, r));
  }

  // A PNG screenshot of the page area `clip` (page pixels).
  screenshot(clip) {
    return this.page.screenshot({ clip, animations: 'allow', caret: 'initial' });
  }

  async colourAt(x, y) {
    return (await this.colours([[x, y]]))[0];
  }

  waitForColour(x, y, accept, timeout = 10000) {
    return waitForColour(this, x, y, accept, timeout);
  }

  // --- the pointer, as real mouse events on the page -----------------------

  async move(x, y) {
    await this.page.mouse.move(this.left + x, this.top + y);
    this.pointer = [x, y];
  }

  // Walks the pointer to (x, y) in moves of at most `step` pixels, as a
  // hand does, then one more one-pixel move down and back up: the player may
  // report the position of the previous mouse event inside onMouseMove, so
  // the last moves must not change x for the script to see where it ended.
  async glide(x, y, { step = 4 } = {}) {
    const [x0, y0] = this.pointer ?? [x, y];
    const count = Math.max(1, Math.ceil(Math.max(Math.abs(x - x0), Math.abs(y - y0)) / step));
    for (let i = 1; i <= count; i++) {
      await this.move(Math.round(x0 + ((x - x0) * i) / count), Math.round(y0 + ((y - y0) * i) / count));
    }
    await this.settle();
  }

  // Two moves that leave x alone, so that the player's idea of the pointer
  // catches up with where it really is.
  async settle() {
    const [x, y] = this.pointer;
    const dy = y + 1 < this.height ? 1 : -1;
    await this.move(x, y + dy);
    await this.move(x, y);
  }

  async press(x, y) {
    if (x !== undefined) {
      await this.move(x, y);
      await this.settle();
    }
    await this.page.mouse.down();
  }

  async release() {
    await this.page.mouse.up();
  }

  async close() {
    await this.context.close();
  }
}
