// Builds gallery movies and web folders with the program's command-line
// builder from test pictures of one size.
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import path from 'node:path';

import { REPO } from './player.mjs';
import { makePhotos } from './photos.mjs';
import { makePictures } from './pictures.mjs';
import { readSwf } from './swf.mjs';

const BUILD_DIR = process.env.ORBILUX_BUILD_DIR || path.join(REPO, 'build');
export const BUILDER = path.join(BUILD_DIR, 'app', 'orbilux-build');

// Runs the builder with the arguments; throws with its error output.
function runBuilder(args) {
  if (!existsSync(BUILDER)) {
    throw new Error(`the movie builder ${BUILDER} does not exist: build the project first ` +
      '(scripts/build build) or point ORBILUX_BUILD_DIR at a build folder');
  }
  try {
    execFileSync(BUILDER, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    throw new Error(`${BUILDER} failed with status ${error.status}: ${error.stderr}`);
  }
}

// Builds a movie of `count` solid pictures of width x height into `folder`
// (pictures 1 .. count in their palette colours; with `photos`, photographs
// marked in those colours) and returns { file, width, height, count, swf }
// with the parsed header and tags.
export function buildMovie(folder, { width, height, count, photos = false }) {
  const pictures = (photos ? makePhotos : makePictures)(path.join(folder, 'pictures'), width, height, count);
  const file = path.join(folder, `${photos ? 'photos' : 'gallery'}-${width}x${height}-${count}.swf`);
  runBuilder(['-o', file, ...pictures]);
  const swf = readSwf(readFileSync(file));
  return { file, width, height, count, swf };
}

// Builds the web folder of the same pictures into `folder` (replacing an
// earlier one), with any further builder `options`, and returns
// { site, width, height, count }.
export function buildWebFolder(folder, { width, height, count, options = [] }) {
  const pictures = makePictures(path.join(folder, 'pictures'), width, height, count);
  const site = path.join(folder, `web-${width}x${height}-${count}`);
  runBuilder(['--web', site, '--force', ...options, ...pictures]);
  return { site, width, height, count };
}
