// Real photographs as movie pictures: crops of Debian's MATE nature
// wallpapers (package mate-backgrounds, installed by scripts/setup), scaled
// with libjpeg-turbo's djpeg, each with a solid marker square at the
// gallery's probe point so that a sampled screen colour still tells which
// picture is shown. Neighbouring pictures come from different photographs,
// so every turn is plainly visible, and each picture is a crop at its own
// offset, so no two are alike.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';

import { Gallery } from './gallery.mjs';
import { PALETTE } from './pictures.mjs';

const WALLPAPERS = '/usr/share/backgrounds/mate/nature';
const SOURCES = ['Garden', 'LadyBird', 'YellowFlower', 'TwoWings', 'Aqua'].map((name) => path.join(WALLPAPERS, `${name}.jpg`));
const SOURCE_SIZE = [2560, 1600];

// The marker colour of picture k: picture k's palette colour while the palette
// lasts, so identify() reads it; beyond, the palette again without picture 1's
// colour, so picture 1 stays unmistakable in movies of any length.
export function markerColour(k) {
  if (k <= PALETTE.length) return PALETTE[k - 1];
  return PALETTE[1 + ((k - 2) % (PALETTE.length - 1))];
}

// Reads a PPM (P6, maxval 255) into { width, height, pixels }.
function readPpm(buffer) {
  const fields = [];
  let at = 0;
  while (fields.length < 4) {
    while (/\s/.test(String.fromCharCode(buffer[at]))) at++;
    if (buffer[at] === 0x23) {
      while (buffer[at] !== 0x0a) at++;
      continue;
    }
    const start = at;
    while (!/\s/.test(String.fromCharCode(buffer[at]))) at++;
    fields.push(buffer.toString('latin1', start, at));
  }
  if (fields[0] !== 'P6' || fields[3] !== '255') throw new Error(`djpeg gave no 8-bit PPM (${fields.join(' ')})`);
  return { width: Number(fields[1]), height: Number(fields[2]), pixels: buffer.subarray(at + 1) };
}

// Each source decoded once per scale, for all pictures of a run.
const decoded = new Map();
function decodeSource(file, eighths) {
  const key = `${file}@${eighths}`;
  if (!decoded.has(key)) {
    if (!existsSync(file)) {
      throw new Error(`the photograph ${file} is missing: run scripts/setup (it installs mate-backgrounds)`);
    }
    decoded.clear(); // one decoded photograph at a time: they are large
    decoded.set(key, readPpm(execFileSync('djpeg', ['-scale', `${eighths}/8`, '-pnm', file], { maxBuffer: 1 << 30 })));
  }
  return decoded.get(key);
}

// Writes photograph picture k of width x height into dir (once; a later call
// reuses the file) and returns its path.
export function makePhoto(dir, width, height, k) {
  mkdirSync(dir, { recursive: true });
  const file = path.join(dir, `photo-${width}x${height}-${k}.jpg`);
  if (existsSync(file)) return file;
  const eighths = Math.max(...[width / SOURCE_SIZE[0], height / SOURCE_SIZE[1]].map((r) => Math.ceil(r * 8)));
  if (eighths > 16) throw new Error(`pictures of ${width} x ${height} are beyond the photographs' reach`);
  const source = decodeSource(SOURCES[(k - 1) % SOURCES.length], eighths);
  // Pictures from the same photograph pan across it by an offset of their own.
  const round = Math.floor((k - 1) / SOURCES.length);
  const left = (round * 97) % (source.width - width + 1);
  const top = (round * 61) % (source.height - height + 1);
  const pixels = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; y++) {
    const from = ((top + y) * source.width + left) * 3;
    source.pixels.copy(pixels, y * width * 3, from, from + width * 3);
  }
  const probe = new Gallery({ width, height, centre: [Math.floor(width / 2), Math.floor(height / 2)] }, 1).probe;
  const half = Math.max(24, Math.round(width / 32));
  const [r, g, b] = markerColour(k);
  for (let y = Math.max(0, probe[1] - half); y < Math.min(height, probe[1] + half); y++) {
    for (let x = Math.max(0, probe[0] - half); x < Math.min(width, probe[0] + half); x++) {
      const at = (y * width + x) * 3;
      pixels[at] = r;
      pixels[at + 1] = g;
      pixels[at + 2] = b;
    }
  }
  const head = Buffer.from(`P6\n${width} ${height}\n255\n`, 'latin1');
  writeFileSync(file, execFileSync('cjpeg', ['-quality', '95'], { input: Buffer.concat([head, pixels]), maxBuffer: 1 << 28 }));
  return file;
}

// Photograph pictures 1 to count of one size; returns their paths in order.
export function makePhotos(dir, width, height, count) {
  return Array.from({ length: count }, (_, i) => makePhoto(dir, width, height, i + 1));
}
