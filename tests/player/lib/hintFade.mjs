// The hint's life on a stage showing picture 1: full at start-up, faded out
// within about 1.2 s of a press, back at full opacity when the pointer leaves
// the stage with the button up, and staying.
import assert from 'node:assert/strict';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Darkening below this is JPEG noise: no hint.
const GONE = 0.03;

// Samples the hint's darkening until it reads as gone or `timeout` ms
// pass; returns the samples as [ms since start, darkening].
async function watchFade(gallery, start, timeout) {
  const samples = [];
  for (;;) {
    const darkening = await gallery.hintDarkening();
    samples.push([Date.now() - start, Number(darkening.toFixed(3))]);
    if (darkening < GONE || Date.now() - start > timeout) return samples;
    await sleep(30);
  }
}

export async function checkHintFadeAndReturn(t, stage, gallery) {
  assert.equal(await gallery.waitFor(1, 10000), 1);
  const full = await gallery.hintDarkening();
  assert.ok(full > 0.25, `the hint is shown at start-up (darkening ${full})`);

  await stage.press(100, 320);
  const pressed = Date.now();
  await stage.release();
  const fade = await watchFade(gallery, pressed, 6000);
  const [goneAfter, last] = fade[fade.length - 1];
  t.diagnostic(`hint fade (ms after the press, darkening; ${full.toFixed(3)} at full opacity): ` +
    JSON.stringify(fade));
  assert.ok(last < GONE, `the hint is still there ${goneAfter} ms after the press: ${JSON.stringify(fade)}`);
  // Eleven ticks of 100 ms take the opacity from 100 below 0: never sooner.
  // A loaded machine draws late, so no upper bound beyond the watch itself.
  assert.ok(goneAfter >= 800,
    `the hint went ${goneAfter} ms after the press: ${JSON.stringify(fade)}`);
  assert.ok(fade.some(([, d]) => d > 0.15 * full && d < 0.85 * full),
    `the hint fades rather than vanishing at once: ${JSON.stringify(fade)}`);
  await sleep(300);
  assert.ok(await gallery.hintDarkening() < GONE, 'the hint stays hidden');

  // The button is up; the pointer leaves the stage to the right.
  await stage.glide(stage.width + 60, 320, { step: 10 });
  const left = Date.now();
  let darkening = 0;
  while (Date.now() - left < 10000 && (darkening = await gallery.hintDarkening()) < 0.9 * full) await sleep(30);
  assert.ok(darkening > 0.9 * full,
    `the hint is back at full opacity once the pointer is off the stage (${darkening} of ${full})`);
  t.diagnostic(`hint back ${Date.now() - left} ms after the pointer left`);
  await sleep(500);
  assert.ok(await gallery.hintDarkening() > 0.9 * full, 'and it stays: the fade had ended');
  assert.equal(await gallery.shown(), 1, 'neither the press nor leaving the stage turned the picture');
}
