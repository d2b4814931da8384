// Test pictures: solid JPEGs, each of its own clearly different colour, so a
// sampled screen colour tells which picture is shown. Made as PPM in memory
// and encoded with libjpeg-turbo's cjpeg.
import { execFileSync } from 'node:child_process';
import { mkdirSync, existsSync, writeFileSync } from 'node:fs';
import path from 'node:path';

// The movie's background colour, seen where no picture covers the stage.
export const BACKGROUND = [0xcc, 0xcc, 0xcc];

// Colours from a 4 x 4 x 4 grid (levels 65 apart, so solid-colour JPEG
// error cannot turn one into another), leaving out the greys near the
// background and everything dark enough to be confused with the hint panel.
export const PALETTE = (() => {
  const levels = [60, 125, 190, 255];
  const colours = [];
  for (const r of levels) {
    for (const g of levels) {
      for (const b of levels) {
        const colour = [r, g, b];
        if (distance(colour, BACKGROUND) < 60) continue;
        if (r + g + b < 300) continue;
        colours.push(colour);
      }
    }
  }
  // Interleave so that neighbours in the list differ in more than one channel.
  return colours.map((c, i) => ({ c, key: (i * 23) % colours.length }))
    .sort((a, b) => a.key - b.key).map((e) => e.c);
})();

export function distance(a, b) {
  return Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The colour of picture k (1-based).
export function pictureColour(k) {
  if (k < 1 || k > PALETTE.length) throw new Error(`no colour for picture ${k}`);
  return PALETTE[k - 1];
}

// Names what a sampled colour shows: picture k (1-based number), the
// background, or nothing known (null).
export function identify(colour, count) {
  let best = null;
  for (let k = 1; k <= count; k++) {
    const d = distance(colour, pictureColour(k));
    if (d < 25 && (best === null || d < best.d)) best = { k, d };
  }
  if (best) return best.k;
  if (distance(colour, BACKGROUND) < 25) return 'background';
  return null;
}

// Writes picture k of size width x height as a JPEG into dir (once; a
// later call with the same arguments reuses the file) and returns its path.
export function makePicture(dir, width, height, k) {
  mkdirSync(dir, { recursive: true });
  const file = path.join(dir, `pic-${width}x${height}-${k}.jpg`);
  if (existsSync(file)) return file;
  const [r, g, b] = pictureColour(k);
  const head = Buffer.from(`P6\n${width} ${height}\n255\n`, 'latin1');
  const body = Buffer.alloc(width * height * 3);
  for (let at = 0; at < body.length; at += 3) {
    body[at] = r;
    body[at + 1] = g;
    body[at + 2] = b;
  }
  const jpeg = execFileSync('cjpeg', ['-quality', '95'], {
    input: Buffer.concat([head, body]),
    maxBuffer: 64 << 20,
  });
  writeFileSync(file, jpeg);
  return file;
}

// Pictures 1 to count of one size; returns their paths in order.
export function makePictures(dir, width, height, count) {
  return Array.from({ length: count }, (_, i) => makePicture(dir, width, height, i + 1));
}
