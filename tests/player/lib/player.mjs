// Plays movies in the browser-hosted SWF player (self-hosted Ruffle in
// Debian's Chromium, driven by Playwright) and reads back what the viewer
// sees: screen colours from screenshots, the context menu, the console.
import { chromium } from 'playwright-core';
import { mkdtempSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { decodePng, colourAt } from './png.mjs';
import { startServer } from './server.mjs';

export const REPO = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const RUFFLE_DIR = path.join(REPO, 'node_modules', '@ruffle-rs', 'ruffle');
const CHROMIUM = process.env.ORBILUX_CHROMIUM || '/usr/bin/chromium';

// Where the stage sits on the page, and how much page lies right of and
// below it, so that the pointer can leave the stage and keep moving.
export const STAGE_LEFT = 20;
export const STAGE_TOP = 20;
const ROOM_RIGHT = 420;
const ROOM_BELOW = 40;

// Nothing may cover the movie: no splash screen, no unmute overlay, no
// autoplay prompt, no letterbox; the canvas renderer, because on a software
// graphics adapter the WebGL one lays a "hardware acceleration" notice over
// the movie on the first mouse-over.
const PLAYER_CONFIG = {
  autoplay: 'on',
  unmuteOverlay: 'hidden',
  splashScreen: false,
  letterbox: 'off',
  preferredRenderer: 'canvas',
  contextMenu: 'on',
  warnOnUnsupportedContent: false,
  showSwfDownload: false,
  polyfills: false,
  openUrlMode: 'allow', // window.open is replaced by a recorder on the page
  allowFullscreen: false,
  logLevel: 'warn',
};

const PAGE = `<!doctype html>
<html><head><meta charset="utf-8"><title>player</title>
<style>html, body { margin: 0; padding: 0; background: #fff; overflow: hidden; }</style>
<script src="/ruffle/ruffle.js"></script>
</head><body></body></html>`;

// One browser and one server, shared by the tests of a file.
export async function startSession() {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'orbilux-player-'));
  const server = await startServer({
    routes: { '/ruffle/': RUFFLE_DIR, '/movies/': folder },
    pages: { '/index.html': PAGE },
  });
  // launch() gives the browser a fresh temporary profile of its own.
  const browser = await chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--no-first-run',
    ],
  });
  return {
    folder, // movies written here are served under /movies/
    async play(movieFile, size) {
      return Movie.open(browser, server, folder, movieFile, size);
    },
    async close() {
      await browser.close();
      await server.close();
      rmSync(folder, { recursive: true, force: true });
    },
  };
}

// The player styles its log lines with %c and CSS arguments; keep the words.
function cleanConsoleText(text) {
  return text.replace(/%c/g, '').replace(/\s+(?:color|background):[^\n]*$/, '').replace(/\s+/g, ' ').trim();
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls movie.colourAt(x, y) until `accept(colour)` holds or the time is up;
// returns { colour, ok, ms } with the time taken.
export async function waitForColour(movie, x, y, accept, timeout) {
  const start = Date.now();
  for (;;) {
    const colour = await movie.colourAt(x, y);
    const ms = Date.now() - start;
    if (accept(colour)) return { colour, ok: true, ms };
    if (ms > timeout) return { colour, ok: false, ms };
    await sleep(40);
  }
}

// One movie playing on its own page. Coordinates are stage pixels, (0, 0)
// at the stage's top-left corner.
export class Movie {
  static async open(browser, server, folder, movieFile, { width, height }) {
    const relative = path.relative(folder, movieFile);
    if (relative.startsWith('..') || path.isAbsolute(relative)) {
      throw new Error(`${movieFile} is not inside the served folder ${folder}`);
    }
    const context = await browser.newContext({
      viewport: { width: STAGE_LEFT + width + ROOM_RIGHT, height: STAGE_TOP + height + ROOM_BELOW },
      deviceScaleFactor: 1,
    });
    const page = await context.newPage();
    const movie = new Movie(context, page, width, height);
    page.on('console', (message) => movie.log(`${message.type()}: ${cleanConsoleText(message.text())}`));
    page.on('pageerror', (error) => movie.log(`pageerror: ${error.message}`));
    // Addresses the movie opens are recorded, never visited.
    await page.addInitScript(() => {
      window.openedWindows = [];
      window.open = (url, target) => {
        window.openedWindows.push([String(url), String(target)]);
        return null;
      };
    });
    await page.goto(`${server.origin}/index.html`);
    const started = Date.now();
    await page.evaluate(async ({ url, left, top, width, height, config }) => {
      const player = window.RufflePlayer.newest().createPlayer();
      player.id = 'player';
      Object.assign(player.style, {
        position: 'absolute', left: `${left}px`, top: `${top}px`,
        width: `${width}px`, height: `${height}px`,
      });
      document.body.appendChild(player);
      window.movieMetadata = new Promise((resolve) => {
        player.addEventListener('loadedmetadata', () => resolve(player.ruffle().metadata));
      });
      await player.ruffle().load({ url, ...config });
    }, {
      url: `/movies/${relative.split(path.sep).map(encodeURIComponent).join('/')}`,
      left: STAGE_LEFT, top: STAGE_TOP, width, height, config: PLAYER_CONFIG,
    });
    movie.metadata = await page.evaluate(() => window.movieMetadata);
    movie.loadStarted = started;
    return movie;
  }

  constructor(context, page, width, height) {
    this.context = context;
    this.page = page;
    this.width = width;
    this.height = height;
    this.messages = new Map(); // console text -> how often it came
    this.pointer = null;
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
    const png = await this.page.screenshot({
      clip: { x: STAGE_LEFT + x0, y: STAGE_TOP + y0, width: x1 - x0, height: y1 - y0 },
      animations: 'allow',
      caret: 'initial',
    });
    const image = decodePng(png);
    return points.map(([x, y]) => colourAt(image, x - x0, y - y0, r));
  }

  async colourAt(x, y) {
    return (await this.colours([[x, y]]))[0];
  }

  waitForColour(x, y, accept, timeout = 3000) {
    return waitForColour(this, x, y, accept, timeout);
  }

  // --- the pointer, as real mouse events on the page -----------------------

  async move(x, y) {
    await this.page.mouse.move(STAGE_LEFT + x, STAGE_TOP + y);
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

  // Right-clicks at (x, y) and returns the texts of the context menu's items.
  async contextMenuItems(x, y) {
    await this.move(x, y);
    await this.page.mouse.click(STAGE_LEFT + x, STAGE_TOP + y, { button: 'right' });
    const items = this.page.locator('#player #context-menu .menu-item');
    await items.first().waitFor({ state: 'visible', timeout: 3000 });
    return items.evaluateAll((elements) => elements.map((e) => e.getAttribute('data-text') ?? e.textContent));
  }

  // Chooses the open context menu's item with this text.
  async chooseMenuItem(text) {
    await this.page.locator('#player #context-menu .menu-item').filter({ hasText: text }).click();
  }

  // [address, window name] of every window the movie asked to open.
  openedWindows() {
    return this.page.evaluate(() => window.openedWindows);
  }

  async close() {
    await this.context.close();
  }
}
