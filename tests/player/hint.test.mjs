// The hint: it fades after a press and is gone within about 1.2 seconds;
// moving the pointer off the stage brings it back.
import { test, before, after } from 'node:test';

import { startSession } from './lib/player.mjs';
import { buildMovie } from './lib/movie.mjs';
import { Gallery } from './lib/gallery.mjs';
import { checkHintFadeAndReturn } from './lib/hintFade.mjs';

let session;
before(async () => {
  session = await startSession();
});
after(async () => {
  await session?.close();
});

test('after a press the hint fades out within about 1.2 s; leaving the stage brings it back', { timeout: 60000 }, async (t) => {
  const built = buildMovie(session.folder, { width: 550, height: 400, count: 2 });
  const movie = await session.play(built.file, built);
  try {
    await checkHintFadeAndReturn(t, movie, new Gallery(movie, 2));
  } finally {
    await movie.close();
  }
});
