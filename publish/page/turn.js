// Turns the object by dragging, as the movie does: exactly one picture
// shows; while the button or a finger is down, a pointer event that finds the
// pointer one step or more right of the reference point shows the next
// picture, one step or more to the left the previous one, and that event's
// position becomes the new reference; one step per event, round and round.
// A step is 100 pixels of the picture as the page shows it, and for pictures
// wider than 1280 pixels what 100 pixels would be on a 1280-wide one, so a
// turn takes about the same sweep on any screen.
// The hint fades after a press and comes back when the mouse leaves.
// The pictures come in the width that covers the stage on this screen, the
// first one first, then outward from the picture shown, a few at a time.
// Zoomed, a drag pans over the largest pictures there are; and once all are
// in, the object turns by itself until the visitor first touches the page.
(() => {
  'use strict';
  const STEP = 100; // picture pixels
  const STEP_WIDTH = 1280; // wider pictures step as one this wide would
  const FADE_TICK = 100; // ms; the hint loses 10 % opacity per tick
  const AT_ONCE = 4; // pictures on their way at a time
  const MAX_RATIO = 2; // finer screens get the pictures of a ratio-2 one
  const TURN_TIME = 6000; // ms for one turn by itself
  const LONGEST_TICK = 400; // ms; at most this long on one picture while turning by itself
  const ZOOM_STEP = 1.5; // per + or - key
  const TAP_ZOOM = 2.5; // a double click or tap zooms this far, or back to 1
  const DOUBLE_TAP = { ms: 300, px: 30 };

  const stage = document.querySelector('.turn');
  const layer = stage.querySelector('.pictures');
  const first = layer.querySelector('.picture');
  const hint = stage.querySelector('.hint');
  const bar = stage.querySelector('.progress');
  const fullButton = stage.querySelector('.full');
  const count = Number(stage.dataset.count);
  const digits = Number(stage.dataset.digits);
  const width = parseFloat(stage.style.getPropertyValue('--w'));
  const height = parseFloat(stage.style.getPropertyValue('--h'));
  const widths = stage.dataset.widths.split(/\s+/).filter(Boolean).map(Number);
  const hasOriginal = stage.dataset.original === 'original';

  // A set of pictures is a width folder (a number) or 'original'.
  const setWidth = (set) => (set === 'original' ? width : set ?? 0);
  const address = (set, i) => `pictures/${set}/${String(i + 1).padStart(digits, '0')}.jpg`;
  const setOf = (url) => {
    const found = /\/pictures\/(\d+|original)\/[^/]*$/.exec(url);
    return found && (found[1] === 'original' ? 'original' : Number(found[1]));
  };
  // The zoom set: the originals when the folder has them, else the widest.
  const zoomSet = hasOriginal ? 'original' : widths[widths.length - 1];
  // The set that covers `cssWidth` on this screen: the smallest width at
  // least that many device pixels (half a pixel short still covers).
  const setFor = (cssWidth) => {
    if (!widths.length) return 'original';
    const need = cssWidth * Math.min(window.devicePixelRatio || 1, MAX_RATIO) - 0.5;
    return widths.find((w) => w >= need) ?? widths[widths.length - 1];
  };

  const mod = (i) => ((i % count) + count) % count;

  // The picture as the stage shows it: fitted inside the stage.
  const pictureBox = () => {
    const box = stage.getBoundingClientRect();
    const shown = Math.min(box.width, (box.height * width) / height);
    return { box, width: shown };
  };

  // --- the pictures ---------------------------------------------------------
  // Each picture has a slot: the element that shows it once it is in, the set
  // that element holds, and the set on its way.
  const slots = Array.from({ length: count }, () => ({ element: null, set: null, coming: null, failed: null, done: false }));
  slots[0].element = first;
  let current = 0; // the picture turned to
  let shown = first; // the element on the screen
  let direction = 1; // of the last turn
  let base = null; // the set the pictures load in
  let firstIn = false;
  let onTheWay = 0;
  let arrivedCount = 0;

  // Shows the current picture, or while it is not in yet, the nearest one
  // that is, looking first the way the turn came from.
  const display = () => {
    let element = null;
    for (let d = 0; d <= count / 2 && !element; d++) {
      for (const i of [current - d * direction, current + d * direction]) {
        const slot = slots[mod(i)];
        if (slot.set !== null) {
          element = slot.element;
          break;
        }
      }
    }
    element ??= first;
    if (element === shown) return;
    element.hidden = false;
    shown.hidden = true;
    shown = element;
  };

  const arrived = (slot) => {
    if (slot.done) return;
    slot.done = true;
    arrivedCount++;
    bar.style.width = `${(100 * arrivedCount) / count}%`;
    bar.hidden = arrivedCount >= count;
    if (arrivedCount >= count) allIn();
  };

  // Puts a loaded element in the slot, in place of the one it held.
  const settle = (i, element, set) => {
    const slot = slots[i];
    if (setWidth(set) <= setWidth(slot.set)) return;
    const old = slot.element;
    element.hidden = true;
    if (old && old !== element) {
      old.before(element);
      if (old === shown) {
        element.hidden = false;
        shown = element;
      }
      old.remove();
    } else if (!old) layer.append(element);
    slot.element = element;
    slot.set = set;
    display();
  };

  const fetchPicture = (i, set) => {
    const slot = slots[i];
    slot.coming = set;
    onTheWay++;
    const element = first.cloneNode(false);
    for (const name of ['srcset', 'sizes', 'fetchpriority', 'src']) element.removeAttribute(name);
    element.hidden = true;
    element.src = address(set, i);
    const finish = (ok) => {
      onTheWay--;
      slot.coming = null;
      if (!ok) slot.failed = set;
      const done = ok ? element.decode().catch(() => {}) : Promise.resolve();
      done.then(() => {
        if (ok) settle(i, element, set);
        arrived(slot);
        pump();
      });
    };
    element.addEventListener('load', () => finish(true), { once: true });
    element.addEventListener('error', () => finish(false), { once: true });
  };

  const wanted = (i) => {
    const slot = slots[i];
    return slot.coming === null && slot.failed !== base && setWidth(slot.set) < setWidth(base);
  };

  // Sends for the pictures still wanted, nearest to the one shown first,
  // once the first picture is in.
  const pump = () => {
    if (!firstIn) return;
    for (let d = 0; d <= count / 2 && onTheWay < AT_ONCE; d++) {
      for (const i of new Set([mod(current + d), mod(current - d)])) {
        if (onTheWay < AT_ONCE && wanted(i)) fetchPicture(i, base);
      }
    }
  };

  // The set follows the stage's size, up but never down.
  const fit = () => {
    if (zoom > 1) zoomTo(zoom, ...centre()); // a new size changes what a zoomed picture may cover
    const set = setFor(pictureBox().width);
    if (setWidth(set) <= setWidth(base)) return;
    base = set;
    pump();
  };

  // The first picture is the page's own, whose width the browser picked.
  const firstArrived = (ok) => {
    const set = setOf(first.currentSrc || first.src);
    if (ok && set !== null) {
      slots[0].set = set;
    } else {
      slots[0].failed = set;
      first.hidden = true; // no broken picture on the stage
    }
    firstIn = true;
    arrived(slots[0]);
    pump();
  };

  // --- zoom -----------------------------------------------------------------
  // Zoomed, the layer of pictures is scaled about the stage's top-left
  // corner and moved by (panX, panY); the shown picture alone gets the zoom
  // set, in an element over it.
  let zoom = 1;
  let panX = 0;
  let panY = 0;
  const zoomed = first.cloneNode(false);
  for (const name of ['srcset', 'sizes', 'fetchpriority', 'src']) zoomed.removeAttribute(name);
  zoomed.classList.add('large');
  zoomed.hidden = true;
  layer.append(zoomed);
  let zoomedFor = -1;

  const showZoomed = () => {
    const wantIt = zoom > 1 && setWidth(zoomSet) > setWidth(slots[current].set);
    if (!wantIt) {
      zoomed.hidden = true;
      if (zoom === 1 && zoomedFor >= 0) {
        zoomed.removeAttribute('src'); // frees the large picture
        zoomedFor = -1;
      }
      return;
    }
    if (zoomedFor === current) return;
    zoomed.hidden = true;
    zoomedFor = current;
    const i = current;
    zoomed.onload = () => {
      if (zoomedFor === i && zoom > 1) zoomed.hidden = false;
    };
    zoomed.src = address(zoomSet, i);
  };

  const maxZoom = () => Math.max(TAP_ZOOM, setWidth(zoomSet) / pictureBox().width);

  // The pan along one axis of the stage (`size` long) that keeps the zoomed
  // picture (`extent` long from `offset`) over all of it, or centred when it
  // is shorter.
  const clampPan = (pan, size, extent) => {
    const offset = (size - extent) / 2;
    const low = size - zoom * (offset + extent);
    const high = -zoom * offset;
    return low <= high ? Math.min(high, Math.max(low, pan)) : (low + high) / 2;
  };
  const applyZoom = () => {
    const { box, width: shownWidth } = pictureBox();
    panX = clampPan(panX, box.width, shownWidth);
    panY = clampPan(panY, box.height, (shownWidth * height) / width);
    layer.style.transform = zoom === 1 ? '' : `translate(${panX}px, ${panY}px) scale(${zoom})`;
    stage.classList.toggle('zoomed', zoom > 1);
    showZoomed();
  };

  // Zooms to `to`, keeping the stage point (x, y) where it is.
  const zoomTo = (to, x, y) => {
    const next = Math.min(maxZoom(), Math.max(1, to));
    if (next < 1.01) {
      zoom = 1;
      panX = 0;
      panY = 0;
    } else {
      panX = x - ((x - panX) * next) / zoom;
      panY = y - ((y - panY) * next) / zoom;
      zoom = next;
    }
    applyZoom();
  };
  const stagePoint = (event) => {
    const box = stage.getBoundingClientRect();
    return [event.clientX - box.left, event.clientY - box.top];
  };
  const centre = () => {
    const { box } = pictureBox();
    return [box.width / 2, box.height / 2];
  };

  // --- turning --------------------------------------------------------------
  const turn = (step) => {
    direction = step < 0 ? -1 : 1;
    current = mod(current + step);
    display();
    if (zoom > 1) showZoomed();
    pump();
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

  // The pointer's x in the pixels that steps are counted in, so that a
  // stage scaled to fit needs the same share of its width per step.
  const stepX = (event) => {
    const { box, width: shownWidth } = pictureBox();
    return ((event.clientX - box.left) * Math.min(width, STEP_WIDTH)) / shownWidth;
  };

  const pointers = new Map(); // touching pointers: id -> [x, y] on the stage
  let pinch = null; // { distance, zoom } when two fingers began
  let dragging = null; // the pointer that turns or pans, while down
  let reference = 0;
  let panFrom = null; // [pointer x, y, panX, panY] at the press, when panning
  let lastTap = null; // { time, x, y } of a touch that lifted without moving
  let lastPointer = ''; // the type of the pointer pressed last
  let pressedAt = null;

  const spread = () => {
    const [[ax, ay], [bx, by]] = [...pointers.values()];
    return { distance: Math.hypot(ax - bx, ay - by), x: (ax + bx) / 2, y: (ay + by) / 2 };
  };

  stage.addEventListener('pointerdown', (event) => {
    if (event.target.closest('button')) return;
    lastPointer = event.pointerType;
    if (event.pointerType === 'touch') {
      pointers.set(event.pointerId, stagePoint(event));
      if (pointers.size === 2) {
        dragging = null; // two fingers zoom rather than turn
        pinch = { distance: spread().distance, zoom };
        return;
      }
    }
    if (dragging !== null || !event.isPrimary || event.button !== 0) return;
    dragging = event.pointerId;
    reference = stepX(event);
    pressedAt = stagePoint(event);
    panFrom = [...pressedAt, panX, panY];
    // Captured, the pointer's release ends the drag wherever it happens.
    stage.setPointerCapture(event.pointerId);
    if (event.pointerType === 'mouse') {
      event.preventDefault();
      stage.focus({ preventScroll: true });
    }
    fade();
  });
  stage.addEventListener('pointermove', (event) => {
    if (pointers.has(event.pointerId)) pointers.set(event.pointerId, stagePoint(event));
    if (pinch && pointers.size === 2) {
      const now = spread();
      zoomTo((pinch.zoom * now.distance) / pinch.distance, now.x, now.y);
      return;
    }
    if (event.pointerId !== dragging) return;
    if (zoom > 1) {
      const [x, y] = stagePoint(event);
      panX = panFrom[2] + x - panFrom[0];
      panY = panFrom[3] + y - panFrom[1];
      applyZoom();
      return;
    }
    // Moves the browser merged into this one count one by one, as the
    // movie sees every mouse event.
    const moves = event.getCoalescedEvents?.() ?? [];
    for (const move of moves.length ? moves : [event]) {
      const x = stepX(move);
      if (x - reference >= STEP) turn(1);
      else if (x - reference <= -STEP) turn(-1);
      else continue;
      reference = x;
    }
  });
  const end = (event) => {
    pointers.delete(event.pointerId);
    if (pointers.size < 2) pinch = null;
    if (event.pointerId !== dragging) return;
    dragging = null;
    // Two taps close together in time and place zoom in, or back out.
    if (event.type !== 'pointerup' || event.pointerType !== 'touch') return;
    const [x, y] = stagePoint(event);
    if (Math.hypot(x - pressedAt[0], y - pressedAt[1]) > DOUBLE_TAP.px / 3) {
      lastTap = null;
    } else if (lastTap && event.timeStamp - lastTap.time < DOUBLE_TAP.ms &&
        Math.hypot(x - lastTap.x, y - lastTap.y) < DOUBLE_TAP.px) {
      lastTap = null;
      zoomTo(zoom > 1 ? 1 : TAP_ZOOM, x, y);
    } else {
      lastTap = { time: event.timeStamp, x, y };
    }
  };
  for (const type of ['pointerup', 'pointercancel', 'lostpointercapture']) stage.addEventListener(type, end);
  stage.addEventListener('pointerleave', (event) => {
    // A finger always leaves as it lifts; only a mouse (or pen) leaving with
    // its button up brings the hint back.
    if (event.pointerType !== 'touch' && event.buttons === 0 && dragging === null) restore();
  });
  // Two fingers pinch the picture, not the page.
  stage.addEventListener('touchmove', (event) => {
    if (event.touches.length > 1) event.preventDefault();
  }, { passive: false });
  stage.addEventListener('dblclick', (event) => {
    // Touch screens double-tap on their own, above.
    if (event.target.closest('button') || lastPointer === 'touch') return;
    const [x, y] = stagePoint(event);
    zoomTo(zoom > 1 ? 1 : TAP_ZOOM, x, y);
  });
  stage.addEventListener('wheel', (event) => {
    if (!event.ctrlKey) return;
    event.preventDefault(); // the wheel with Ctrl (or a touchpad pinch) zooms the picture, not the page
    const pixels = event.deltaY * (event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? 400 : 1);
    zoomTo(zoom * Math.exp(-pixels / 300), ...stagePoint(event));
  }, { passive: false });
  stage.addEventListener('keydown', (event) => {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const step = { ArrowRight: 1, ArrowLeft: -1 }[event.key];
    const scale = { '+': ZOOM_STEP, '=': ZOOM_STEP, '-': 1 / ZOOM_STEP }[event.key];
    if (step) {
      turn(step);
      fade();
    } else if (scale) {
      zoomTo(zoom * scale, ...centre());
    } else return;
    event.preventDefault();
  });

  // --- full screen ----------------------------------------------------------
  const enter = stage.requestFullscreen ?? stage.webkitRequestFullscreen;
  const exit = document.exitFullscreen ?? document.webkitExitFullscreen;
  if (enter && (document.fullscreenEnabled ?? document.webkitFullscreenEnabled)) {
    fullButton.hidden = false;
    fullButton.addEventListener('click', () => {
      if (document.fullscreenElement ?? document.webkitFullscreenElement) exit.call(document);
      else enter.call(stage);
    });
  }

  // --- turning by itself ----------------------------------------------------
  // One turn (or turn after turn) once every picture is in, unless the
  // visitor prefers less motion; the first press, touch, key or wheel stops
  // it for good.
  const mode = stage.dataset.autoplay;
  let playing = (mode === 'once' || mode === 'loop') && count > 1 &&
    !window.matchMedia('(prefers-reduced-motion: reduce)').matches;
  let ticking = 0;
  const stop = () => {
    playing = false;
    clearInterval(ticking);
    for (const type of STOPPERS) window.removeEventListener(type, stop, true);
  };
  const STOPPERS = ['pointerdown', 'touchstart', 'keydown', 'wheel'];
  for (const type of STOPPERS) window.addEventListener(type, stop, { capture: true, passive: true });
  function allIn() {
    if (!playing) return;
    let steps = 0;
    ticking = setInterval(() => {
      turn(1);
      if (mode === 'once' && ++steps >= count) stop();
    }, Math.min(LONGEST_TICK, TURN_TIME / count));
  }

  // --- start ----------------------------------------------------------------
  fit();
  if (first.complete) firstArrived(first.naturalWidth > 0);
  else {
    bar.hidden = count < 2;
    first.addEventListener('load', () => firstArrived(true), { once: true });
    first.addEventListener('error', () => firstArrived(false), { once: true });
  }
  new ResizeObserver(fit).observe(stage);
  // The pixel ratio changes with the browser's zoom (which resizes the
  // window too), and between screens.
  window.addEventListener('resize', fit);
  const watchRatio = () => {
    window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
      fit();
      watchRatio();
    }, { once: true });
  };
  watchRatio();
})();
