// Plays movies in the program's own main window: the window player host
// (tests/player/host) runs the Preview command and reports what its web view
// shows. A WindowMovie answers the same calls as a browser Movie, in stage
// pixels, so the same tables and checks run against both.
import { spawn } from 'node:child_process';
import { existsSync } from 'node:fs';
import path from 'node:path';
import readline from 'node:readline';

import { REPO } from './player.mjs';
import { waitForColour } from './stage.mjs';

const BUILD_DIR = process.env.ORBILUX_BUILD_DIR || path.join(REPO, 'build');
export const HOST = path.join(BUILD_DIR, 'tests', 'player', 'window_player_host');

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The host process. `environment` is added to this process's own; by default
// the window runs on Qt's offscreen platform in software, as the window tests do.
export class WindowHost {
  static start(environment = {
    QT_QPA_PLATFORM: 'offscreen',
    QTWEBENGINE_CHROMIUM_FLAGS: '--disable-gpu',
  }) {
    if (!existsSync(HOST)) {
      throw new Error(`the window player host ${HOST} does not exist: build the project first ` +
        '(scripts/build build) or point ORBILUX_BUILD_DIR at a build folder');
    }
    return new WindowHost(spawn(HOST, [], {
      env: { ...process.env, ...environment },
      stdio: ['pipe', 'pipe', 'pipe'],
    }));
  }

  constructor(child) {
    this.child = child;
    this.waiting = new Map();
    this.nextId = 1;
    this.errors = [];
    readline.createInterface({ input: child.stdout }).on('line', (line) => {
      const answer = JSON.parse(line);
      const done = this.waiting.get(answer.id);
      this.waiting.delete(answer.id);
      if (answer.error) done?.reject(new Error(answer.error));
      else done?.resolve(answer);
    });
    readline.createInterface({ input: child.stderr }).on('line', (line) => this.errors.push(line));
    child.on('exit', (code, signal) => {
      for (const { reject } of this.waiting.values()) {
        reject(new Error(`the window player host ended (${signal ?? code}): ${this.errors.slice(-5).join(' | ')}`));
      }
      this.waiting.clear();
    });
  }

  request(what, fields = {}) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { resolve, reject });
      this.child.stdin.write(`${JSON.stringify({ id, do: what, ...fields })}\n`);
    });
  }

  async close() {
    if (this.child.exitCode !== null) return;
    const ended = new Promise((resolve) => this.child.once('exit', resolve));
    await this.request('quit').catch(() => {});
    await ended;
  }
}

// One movie shown by the window's Preview command. Coordinates are stage
// pixels, (0, 0) at the stage's top-left corner, mapped onto the view by the
// scale at which the window fits the movie.
export class WindowMovie {
  // Previews the built movie ({ file, width, height }) and waits until the
  // window no longer says that it is loading; `loadStarted` is the host's
  // clock at the click and `shownAfter` the milliseconds until then.
  static async open(host, { file, width, height }, { timeout = 60000 } = {}) {
    const { clicked, message } = await host.request('preview', { movie: file, width, height });
    if (message) throw new Error(`the Preview command reported: ${message}`);
    const movie = new WindowMovie(host, width, height);
    movie.loadStarted = clicked;
    for (;;) {
      const state = await host.request('movie');
      if (!state.notice && state.rect) {
        movie.place(state);
        movie.shownAfter = state.clock - clicked;
        return movie;
      }
      if (state.notice && !state.notice.startsWith('Loading')) throw new Error(`the preview says: ${state.notice}`);
      if (state.clock - clicked > timeout) throw new Error(`still loading after ${timeout} ms: ${state.notice}`);
      await sleep(40);
    }
  }

  constructor(host, width, height) {
    this.host = host;
    this.width = width;
    this.height = height;
    this.pointer = null;
  }

  // Takes the movie's place in the view from a "movie" answer. The player
  // scales the stage into its box, keeping the proportions, centred.
  place({ rect: [left, top, boxWidth, boxHeight], scale }) {
    this.scale = Math.min(boxWidth / this.width, boxHeight / this.height);
    this.origin = [left + (boxWidth - this.width * this.scale) / 2, top + (boxHeight - this.height * this.scale) / 2];
    this.reportedScale = scale;
  }

  get centre() {
    return [Math.floor(this.width / 2), Math.floor(this.height / 2)];
  }

  get console() {
    return this.host.errors.slice(-10);
  }

  // The view point of a stage point. The window passes fractions of a pixel
  // on to the page, so at the movie's own size every stage pixel is reached.
  toView([x, y]) {
    return [this.origin[0] + x * this.scale, this.origin[1] + y * this.scale];
  }

  async colours(points) {
    const answer = await this.host.request('colours', { points: points.map((p) => this.toView(p)), radius: 2 });
    return answer.colours;
  }

  async colourAt(x, y) {
    return (await this.colours([[x, y]]))[0];
  }

  waitForColour(x, y, accept, timeout = 10000) {
    return waitForColour(this, x, y, accept, timeout);
  }

  async mouse(type, x, y) {
    const [vx, vy] = this.toView([x, y]);
    await this.host.request('mouse', { type, x: vx, y: vy });
    this.pointer = [x, y];
  }

  async move(x, y) {
    await this.mouse('move', x, y);
  }

  // Walks the pointer to (x, y) as a quick hand does: a move every
  // `interval` ms, `step` screen pixels at a time.
  async glide(x, y, { step = 10, interval = 40 } = {}) {
    const [x0, y0] = this.pointer ?? [x, y];
    const count = Math.max(1, Math.ceil(Math.max(Math.abs(x - x0), Math.abs(y - y0)) * this.scale / step));
    for (let i = 1; i <= count; i++) {
      await this.move(Math.round(x0 + ((x - x0) * i) / count), Math.round(y0 + ((y - y0) * i) / count));
      await sleep(interval);
    }
  }

  // Nothing to do: the window's page hands every move to the player a second
  // time, so the player's idea of the pointer never lags behind.
  async settle() {}

  async press(x, y) {
    if (x !== undefined) await this.move(x, y);
    await this.mouse('press', ...this.pointer);
  }

  async release() {
    await this.mouse('release', ...this.pointer);
  }

  async close() {}
}
