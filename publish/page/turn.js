// Turns the object by dragging, as the movie does: exactly one picture
// shows; while the button or a finger is down, a pointer event that finds the
// pointer 100 picture pixels or more right of the reference point shows the
// next picture, 100 or more to the left the previous one, and that event's
// position becomes the new reference; one step per event, round and round.
// The hint fades after a press and comes back when the mouse leaves.
(() => {
  'use strict';
  const STEP = 100; // picture pixels
  const FADE_TICK = 100; // ms; the hint loses 10 % opacity per tick

  const stage = document.querySelector('.turn');
  const count = Number(stage.dataset.count);
  const digits = Number(stage.dataset.digits);
  const width = parseFloat(stage.style.getPropertyValue('--w'));
  const hint = stage.querySelector('.hint');
  const bar = stage.querySelector('.progress');
  const pictures = [stage.querySelector('.picture')];

  for (let i = 1; i < count; i++) {
    const picture = pictures[0].cloneNode(false);
    picture.removeAttribute('src');
    picture.hidden = true;
    stage.insertBefore(picture, hint);
    pictures.push(picture);
  }

  // The first picture alone is fetched at first; the rest follow once it is
  // in, and the line at the top grows as they arrive.
  let loaded = 0;
  const arrived = () => {
    loaded++;
    bar.style.width = `${(100 * loaded) / count}%`;
    bar.hidden = loaded >= count;
  };
  // The others lie in the first one's folder (its width's).
  const folder = pictures[0].getAttribute('src').replace(/[^/]*$/, '');
  const loadRest = () => {
    arrived();
    pictures.slice(1).forEach((picture, i) => {
      picture.addEventListener('load', arrived, { once: true });
      picture.addEventListener('error', arrived, { once: true });
      picture.src = `${folder}${String(i + 2).padStart(digits, '0')}.jpg`;
    });
  };
  if (pictures[0].complete) loadRest();
  else {
    bar.hidden = count < 2;
    pictures[0].addEventListener('load', loadRest, { once: true });
    pictures[0].addEventListener('error', loadRest, { once: true });
  }

  let current = 0;
  const turn = (step) => {
    pictures[current].hidden = true;
    current = (current + step + count) % count;
    pictures[current].hidden = false;
  };

  let alpha = 100;
  let fading = 0;
  const fade = () => {
    if (fading || hint.hidden) return;
    fading = setInterval(() => {
      alpha -= 10;
      hint.style.opacity = Math.max(alpha, 0) / 100;
      if (alpha < 0) {
        hint.hidden = true;
        clearInterval(fading);
        fading = 0;
      }
    }, FADE_TICK);
  };
  const restore = () => {
    clearInterval(fading);
    fading = 0;
    alpha = 100;
    hint.style.opacity = '';
    hint.hidden = false;
  };

  // The pointer's x in picture pixels, so that a stage scaled down to fit
  // needs the same share of its width per step.
  const pictureX = (event) => {
    const box = stage.getBoundingClientRect();
    return ((event.clientX - box.left) * width) / box.width;
  };

  let dragging = null; // the pointer that turns, while its button is down
  let reference = 0;
  stage.addEventListener('pointerdown', (event) => {
    if (dragging !== null || !event.isPrimary || event.button !== 0) return;
    dragging = event.pointerId;
    reference = pictureX(event);
    // Captured, the pointer's release ends the drag wherever it happens.
    stage.setPointerCapture(event.pointerId);
    if (event.pointerType === 'mouse') {
      event.preventDefault();
      stage.focus({ preventScroll: true });
    }
    fade();
  });
  stage.addEventListener('pointermove', (event) => {
    if (event.pointerId !== dragging) return;
    // Moves the browser merged into this one count one by one, as the
    // movie sees every mouse event.
    const moves = event.getCoalescedEvents?.() ?? [];
    for (const move of moves.length ? moves : [event]) {
      const x = pictureX(move);
      if (x - reference >= STEP) turn(1);
      else if (x - reference <= -STEP) turn(-1);
      else continue;
      reference = x;
    }
  });
  const end = (event) => {
    if (event.pointerId === dragging) dragging = null;
  };
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) stage.addEventListener(type, end);
  stage.addEventListener('pointerleave', (event) => {
    // A finger always leaves as it lifts; only a mouse (or pen) leaving with
    // its button up brings the hint back.
    if (event.pointerType !== 'touch' && event.buttons === 0 && dragging === null) restore();
  });
  stage.addEventListener('keydown', (event) => {
    const step = { ArrowRight: 1, ArrowLeft: -1 }[event.key];
    if (!step || event.altKey || event.ctrlKey || event.metaKey) return;
    event.preventDefault();
    turn(step);
    fade();
  });
})();
