// What a viewer of a gallery movie sees, read off the screen: which picture
// is shown and whether the hint panel lies over it.
import { distance, identify, pictureColour } from './pictures.mjs';

// The hint bitmap is 218 x 32 pixels centred on the stage; its panel has a
// one-pixel transparent border and its lettering stays within columns 20 to
// 199, so columns 10 and 207 (rows 14 to 18) are plain panel.
export const HINT = { width: 218, height: 32, panelColumns: [10, 207], panelRow: 16 };

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export class Gallery {
  constructor(movie, count) {
    this.movie = movie;
    this.count = count;
    const { width, height } = movie;
    const [cx, cy] = movie.centre;
    // A point well clear of the hint, where the shown picture is read.
    this.probe = [cx, Math.round(cy + Math.max(40, height / 4))];
    if (this.probe[1] >= height - 3) this.probe = [Math.round(width / 4), cy];
    const left = cx - HINT.width / 2;
    const top = cy - HINT.height / 2;
    this.panelPoints = HINT.panelColumns.map((column) => [left + column, top + HINT.panelRow]);
    // Just outside the hint on each side: the picture shows there.
    this.besideHint = [[left - 6, cy], [left + HINT.width + 6, cy], [cx, top - 6], [cx, top + HINT.height + 6]];
  }

  // The picture shown (1-based number), 'background', or null for a colour
  // that is neither.
  async shown() {
    return identify(await this.movie.colourAt(...this.probe), this.count);
  }

  // Waits up to `timeout` ms for picture k; returns what was shown last.
  async waitFor(k, timeout = 10000) {
    const result = await this.movie.waitForColour(...this.probe,
      (colour) => identify(colour, this.count) === k, timeout);
    return identify(result.colour, this.count);
  }

  // What is shown once the player has had time to draw a few frames
  // (the movie runs at 12 frames per second; a page says how long it needs
  // as `frameWait`); for checking that nothing changed.
  async shownAfterFrames() {
    await sleep(this.movie.frameWait ?? 350);
    return this.shown();
  }

  // How much the hint panel darkens the picture under it: the share of
  // the picture's brightness (read at the probe point, in the same
  // screenshot) that the darker of the two plain panel points lacks. 0 when
  // the hint is hidden; about 0.35 to 0.5 with the panel at full opacity,
  // depending on the picture's colour.
  async hintDarkening() {
    const [picture, ...panel] = await this.movie.colours([this.probe, ...this.panelPoints]);
    const sum = (c) => c[0] + c[1] + c[2];
    return Math.max(...panel.map((c) => (sum(picture) - sum(c)) / sum(picture)));
  }

  // Reads the hint: { panel: colours at the panel points, beside: colours
  // just outside it } to judge visibility and position against picture k.
  async hintArea() {
    const colours = await this.movie.colours([...this.panelPoints, ...this.besideHint]);
    return { panel: colours.slice(0, 2), beside: colours.slice(2) };
  }

  // Picture k shows, within JPEG tolerance, at every point given.
  static showsPicture(colours, k) {
    return colours.every((c) => distance(c, pictureColour(k)) < 25);
  }
}
