// A small SWF reader (header and tag list, to check built movies and to
// look into the bytes when the player misbehaves) and a writer of tiny
// one-frame test movies made of solid rectangles, to prove the harness
// without the program's own writer.

// --- bits -------------------------------------------------------------------

class BitWriter {
  constructor() {
    this.bits = [];
  }

  unsigned(value, count) {
    for (let i = count - 1; i >= 0; i--) this.bits.push((value >>> i) & 1);
    return this;
  }

  signed(value, count) {
    return this.unsigned(value < 0 ? value + 2 ** count : value, count);
  }

  bytes() {
    const out = Buffer.alloc(Math.ceil(this.bits.length / 8));
    this.bits.forEach((bit, i) => {
      out[i >> 3] |= bit << (7 - (i & 7));
    });
    return out;
  }
}

class BitReader {
  constructor(buffer, offset) {
    this.buffer = buffer;
    this.bit = offset * 8;
  }

  unsigned(count) {
    let value = 0;
    for (let i = 0; i < count; i++, this.bit++) {
      value = value * 2 + ((this.buffer[this.bit >> 3] >> (7 - (this.bit & 7))) & 1);
    }
    return value;
  }

  signed(count) {
    const value = this.unsigned(count);
    return count > 0 && value >= 2 ** (count - 1) ? value - 2 ** count : value;
  }

  get byteOffset() {
    return Math.ceil(this.bit / 8);
  }
}

// Bits a signed field needs to hold every value.
function signedBits(...values) {
  let bits = 1;
  for (const v of values) {
    while (v < -(2 ** (bits - 1)) || v >= 2 ** (bits - 1)) bits++;
  }
  return bits;
}

// --- reading ----------------------------------------------------------------

// Reads an uncompressed SWF: { version, fileLength, frame (twips), width and
// height (pixels), frameRate, frameCount, tags: [{ code, offset, long, length,
// body }] }. Throws on a malformed file, naming the offset.
export function readSwf(bytes) {
  const swf = Buffer.from(bytes);
  if (swf.toString('latin1', 0, 3) !== 'FWS') throw new Error('not an uncompressed SWF (no "FWS")');
  const bits = new BitReader(swf, 8);
  const n = bits.unsigned(5);
  const frame = { xMin: bits.signed(n), xMax: bits.signed(n), yMin: bits.signed(n), yMax: bits.signed(n) };
  let at = bits.byteOffset;
  const frameRate = swf.readUInt16LE(at) / 256;
  const frameCount = swf.readUInt16LE(at + 2);
  at += 4;
  const tags = [];
  while (at < swf.length) {
    const offset = at;
    const head = swf.readUInt16LE(at);
    const code = head >> 6;
    let length = head & 0x3f;
    at += 2;
    const long = length === 0x3f;
    if (long) {
      length = swf.readUInt32LE(at);
      at += 4;
    }
    if (at + length > swf.length) {
      throw new Error(`tag ${code} at offset ${offset} runs ${at + length - swf.length} bytes past the end`);
    }
    tags.push({ code, offset, long, length, body: swf.subarray(at, at + length) });
    at += length;
    if (code === 0) break;
  }
  return {
    version: swf[3],
    fileLength: swf.readUInt32LE(4),
    frame,
    width: (frame.xMax - frame.xMin) / 20,
    height: (frame.yMax - frame.yMin) / 20,
    frameRate,
    frameCount,
    tags,
  };
}

// --- writing ----------------------------------------------------------------

function tag(code, body) {
  const head = Buffer.alloc(6);
  head.writeUInt16LE((code << 6) | 0x3f, 0);
  head.writeUInt32LE(body.length, 2);
  return Buffer.concat([head, body]);
}

function rect(xMin, xMax, yMin, yMax) {
  const n = signedBits(xMin, xMax, yMin, yMax);
  return new BitWriter().unsigned(n, 5).signed(xMin, n).signed(xMax, n)
    .signed(yMin, n).signed(yMax, n).bytes();
}

function u16(value) {
  const out = Buffer.alloc(2);
  out.writeUInt16LE(value);
  return out;
}

// A shape of one solid-filled rectangle, in pixels, stage coordinates.
function solidRectShape(id, [r, g, b], x, y, w, h) {
  const [x0, y0, x1, y1] = [x * 20, y * 20, (x + w) * 20, (y + h) * 20];
  const records = new BitWriter();
  records.unsigned(1, 4).unsigned(0, 4); // one fill-style bit, no line styles
  const move = signedBits(x0, y0);
  // Style change: move to the top-left corner, select fill style 1 as FillStyle1.
  records.unsigned(0b000101, 6).unsigned(move, 5).signed(x0, move).signed(y0, move).unsigned(1, 1);
  for (const [dx, dy] of [[x1 - x0, 0], [0, y1 - y0], [x0 - x1, 0], [0, y0 - y1]]) {
    const n = Math.max(2, signedBits(dx, dy));
    records.unsigned(0b11, 2).unsigned(n - 2, 4).unsigned(1, 1).signed(dx, n).signed(dy, n);
  }
  records.unsigned(0, 6); // end of shape
  return tag(2, Buffer.concat([
    u16(id), rect(x0, x1, y0, y1),
    Buffer.from([1, 0x00, r, g, b]), // one solid fill
    Buffer.from([0]), // no line styles
    records.bytes(),
  ]));
}

// A one-frame movie of width x height pixels on `background`, with each of
// `rects` ({ colour, x, y, w, h } in pixels) drawn in order above it.
export function writeRectMovie({ width, height, background, rects }) {
  const parts = [tag(9, Buffer.from(background))];
  rects.forEach((r, i) => {
    parts.push(solidRectShape(i + 1, r.colour, r.x, r.y, r.w, r.h));
    // PlaceObject2 with HasCharacter and HasMatrix, identity matrix.
    parts.push(tag(26, Buffer.concat([Buffer.from([0x06]), u16(i + 1), u16(i + 1), Buffer.from([0])])));
  });
  parts.push(Buffer.from([0x40, 0x00]), Buffer.from([0x00, 0x00]));
  const body = Buffer.concat([rect(0, width * 20, 0, height * 20), Buffer.from([0x00, 0x0c, 0x01, 0x00]), ...parts]);
  const head = Buffer.from([0x46, 0x57, 0x53, 9, 0, 0, 0, 0]);
  head.writeUInt32LE(8 + body.length, 4);
  return Buffer.concat([head, body]);
}
