// Plays movies in the browser-hosted SWF player (self-hosted Ruffle in
// Debian's Chromium, driven by Playwright) and reads back what the viewer
// sees: screen colours from screenshots, the context menu, the console.
import { chromium } from 'playwright-core';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { startServer } from './server.mjs';
import { Stage } from './stage.mjs';

export const REPO = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const RUFFLE_DIR = path.join(REPO, 'node_modules', '@ruffle-rs', 'ruffle');
const CHROMIUM = process.env.ORBILUX_CHROMIUM || '/usr/bin/chromium';

// Where the stage sits on the page, and how much page lies right of and
// below it, so that the pointer can leave the stage and keep moving.
export const STAGE_LEFT = 20;
export const STAGE_TOP = 20;
const ROOM_RIGHT = 420;
const ROOM_BELOW = 40;

// The player's configuration of the web folder's movie page and the window's
// preview: nothing covers the movie (no splash screen, no unmute overlay, no
// autoplay prompt, no letterbox; the canvas renderer, because on a software
// graphics adapter the WebGL one lays a "hardware acceleration" notice over
// the movie on the first mouse-over). Here the page is not replaced by the
// player, the movie's addresses are opened and the player's warnings logged.
const PLAYER_CONFIG = {
  ...JSON.parse(readFileSync(path.join(REPO, 'publish', 'page', 'player-config.json'), 'utf8')),
  polyfills: false,
  openUrlMode: 'allow', // window.open is replaced by a recorder on the page
  logLevel: 'warn',
};

const PAGE = `<!doctype html>
<html><head><meta charset="utf-8"><title>player</title>
<style>html, body { margin: 0; padding: 0; background: #fff; overflow: hidden; }</style>
<script src="/ruffle/ruffle.js"></script>
</head><body></body></html>`;

// One browser and one server, shared by the tests of a file; `gate` goes to
// the server.
export async function startSession({ gate = null } = {}) {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'orbilux-player-'));
  const server = await startServer({
    routes: { '/ruffle/': RUFFLE_DIR, '/movies/': folder },
    pages: { '/index.html': PAGE },
    gate,
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
    browser,
    // The address of a file in the folder, over HTTP.
    address(file) {
      return `${server.origin}/movies/${servedPath(folder, file)}`;
    },
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

// The URL path of a file inside the served folder, below /movies/.
function servedPath(folder, file) {
  const relative = path.relative(folder, file);
  if (relative.startsWith('..') || path.isAbsolute(relative)) {
    throw new Error(`${file} is not inside the served folder ${folder}`);
  }
  return relative.split(path.sep).map(encodeURIComponent).join('/');
}

// One movie playing on its own page.
export class Movie extends Stage {
  static async open(browser, server, folder, movieFile, { width, height }) {
    const url = `/movies/${servedPath(folder, movieFile)}`;
    const context = await browser.newContext({
      viewport: { width: STAGE_LEFT + width + ROOM_RIGHT, height: STAGE_TOP + height + ROOM_BELOW },
      deviceScaleFactor: 1,
    });
    const page = await context.newPage();
    const movie = new Movie(context, page, { left: STAGE_LEFT, top: STAGE_TOP, width, height });
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
      url, left: STAGE_LEFT, top: STAGE_TOP, width, height, config: PLAYER_CONFIG,
    });
    movie.metadata = await page.evaluate(() => window.movieMetadata);
    movie.loadStarted = started;
    return movie;
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
}
