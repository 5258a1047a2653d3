// Reads the pixels of a PNG file (8 bits a channel, RGB or RGBA, not interlaced: what the game and
// Chromium write) for the browser test's comparisons.
import { inflateSync } from 'node:zlib';

export function decodePng(bytes) {
  const buf = Buffer.from(bytes);
  if (buf.toString('latin1', 1, 4) !== 'PNG') throw new Error('not a PNG file');
  let at = 8, width = 0, height = 0, channels = 0;
  const idat = [];
  while (at < buf.length) {
    const length = buf.readUInt32BE(at), type = buf.toString('latin1', at + 4, at + 8);
    const body = buf.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit, non-interlaced PNG files');
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error('only RGB and RGBA PNG files');
    } else if (type === 'IDAT') {
      idat.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels, out = Buffer.alloc(width * height * 3);
  let prev = Buffer.alloc(stride), row = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? row[i - channels] : 0, b = prev[i], c = i >= channels ? prev[i - channels] : 0;
      let v = line[i];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      row[i] = v & 255;
    }
    for (let x = 0; x < width; ++x) row.copy(out, (y * width + x) * 3, x * channels, x * channels + 3);
    [prev, row] = [row, prev];
  }
  return { width, height, rgb: out };
}
