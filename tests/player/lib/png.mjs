// Decodes the PNG files that the browser's screenshots produce: 8-bit RGB or
// RGBA, not interlaced. Anything else is refused rather than misread.
import { inflateSync } from 'node:zlib';

const SIGNATURE = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);

// Returns { width, height, channels, pixels } with pixels row by row, top to
// bottom, `channels` bytes each (3 for RGB, 4 for RGBA).
export function decodePng(bytes) {
  const png = Buffer.from(bytes);
  if (png.length < 8 || !png.subarray(0, 8).equals(SIGNATURE)) {
    throw new Error('not a PNG file');
  }
  let header = null;
  const data = [];
  for (let at = 8; at + 8 <= png.length;) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      header = {
        width: body.readUInt32BE(0),
        height: body.readUInt32BE(4),
        depth: body[8],
        colourType: body[9],
        interlace: body[12],
      };
    } else if (type === 'IDAT') {
      data.push(body);
    } else if (type === 'IEND') {
      break;
    }
    at += 12 + length;
  }
  if (!header) throw new Error('PNG without IHDR');
  const channels = { 2: 3, 6: 4 }[header.colourType];
  if (header.depth !== 8 || !channels || header.interlace !== 0) {
    throw new Error(`unsupported PNG: depth ${header.depth}, colour type ${header.colourType}, ` +
      `interlace ${header.interlace}`);
  }
  const { width, height } = header;
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  if (raw.length < height * (stride + 1)) throw new Error('PNG data too short');
  const pixels = Buffer.alloc(height * stride);
  for (let y = 0; y < height; y++) {
    unfilterRow(raw[y * (stride + 1)], raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)),
      pixels.subarray(y * stride, (y + 1) * stride),
      y > 0 ? pixels.subarray((y - 1) * stride, y * stride) : null, channels);
  }
  return { width, height, channels, pixels };
}

// Reverses one row's filter into `out`; `above` is the previous decoded row.
function unfilterRow(filter, row, out, above, bpp) {
  for (let x = 0; x < row.length; x++) {
    const a = x >= bpp ? out[x - bpp] : 0;
    const b = above ? above[x] : 0;
    const c = above && x >= bpp ? above[x - bpp] : 0;
    let predictor;
    switch (filter) {
      case 0: predictor = 0; break;
      case 1: predictor = a; break;
      case 2: predictor = b; break;
      case 3: predictor = (a + b) >> 1; break;
      case 4: predictor = paeth(a, b, c); break;
      default: throw new Error(`bad PNG filter ${filter}`);
    }
    out[x] = (row[x] + predictor) & 0xff;
  }
}

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a);
  const pb = Math.abs(p - b);
  const pc = Math.abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// The mean colour [r, g, b] of the (2 * radius + 1)-square around (x, y),
// clipped to the image.
export function colourAt(image, x, y, radius = 2) {
  const sum = [0, 0, 0];
  let count = 0;
  for (let yy = Math.max(0, y - radius); yy <= Math.min(image.height - 1, y + radius); yy++) {
    for (let xx = Math.max(0, x - radius); xx <= Math.min(image.width - 1, x + radius); xx++) {
      const at = (yy * image.width + xx) * image.channels;
      for (let k = 0; k < 3; k++) sum[k] += image.pixels[at + k];
      count++;
    }
  }
  if (count === 0) throw new Error(`point (${x}, ${y}) lies outside the ${image.width} x ${image.height} image`);
  return sum.map((s) => Math.round(s / count));
}
