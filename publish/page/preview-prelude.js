// The script of the window's preview page, run once the page is parsed, just
// before the SWF player. It is a function of one object the window passes:
//   publicPath  the player's folder as an address
//   reportTag   the start of every report to the window
//   player      the player's configuration (player-config.json)
// It lets the player read the files the preview scheme serves, fits the
// movie into the view, hands the player every mouse move, reports to the
// window and configures the player.
(settings) => {
  const movieObject = document.querySelector("object");
  const movieEmbed = document.querySelector("object embed");
  const playerElement = () => document.querySelector("ruffle-embed, ruffle-object");

  // A report is a console message: the tag, a kind, a space and a JSON object.
  const report = (kind, detail) => console.debug(settings.reportTag + kind + " " + JSON.stringify(detail));

  // The player fetches its code chunks, its WebAssembly and the movie with
  // fetch(), which the engine refuses for the page's own scheme; for that
  // scheme this fetch reads through XMLHttpRequest, and tells the window how
  // much of the movie it has read. The scheme answers nothing but the page,
  // the movie and the player's files.
  const installFileFetch = () => {
    const pageScheme = new URL(settings.publicPath).protocol;
    const movieAddress = movieEmbed && new URL(movieEmbed.getAttribute("src"), document.baseURI).href;
    const pageFetch = window.fetch.bind(window);
    const types = { wasm: "application/wasm", js: "text/javascript", swf: "application/x-shockwave-flash" };
    window.fetch = (input, init) => {
      const address = new URL(input instanceof Request ? input.url : String(input), document.baseURI);
      if (address.protocol !== pageScheme) return pageFetch(input, init);
      const isMovie = address.href === movieAddress;
      return new Promise((resolve, reject) => {
        const request = new XMLHttpRequest();
        request.open("GET", address.href);
        request.responseType = "arraybuffer";
        const unreadable = () => {
          if (isMovie) report("failed", { reason: "unreadable" });
          reject(new TypeError("Failed to fetch " + address.href));
        };
        if (isMovie) {
          request.onprogress = (event) =>
            report("progress", { loaded: event.loaded, total: event.lengthComputable ? event.total : -1 });
        }
        request.onload = () => {
          if (!request.response) return unreadable();
          const length = request.response.byteLength;
          if (isMovie) report("progress", { loaded: length, total: length });
          const extension = address.pathname.split(".").pop().toLowerCase();
          const response = new Response(request.response, {
            status: 200,
            headers: {
              "Content-Type": types[extension] || "application/octet-stream",
              "Content-Length": String(length),
            },
          });
          Object.defineProperty(response, "url", { value: address.href });
          resolve(response);
        };
        request.onerror = unreadable;
        request.send();
      });
    };
  };

  // The movie is shown whole: when it is larger than the view, the player is
  // made smaller, keeping the movie's proportions and leaving room for the
  // line under it, and the player scales the stage into it; it is never made
  // larger than the movie. The player sizes itself from the embed tag, which
  // has no size of its own: it gets the object tag's.
  const movieSize =
    movieObject && ["width", "height"].map((name) => Number.parseInt(movieObject.getAttribute(name), 10));
  const pageMargin = 8;
  const fit = () => {
    if (!movieSize || !(movieSize[0] > 0 && movieSize[1] > 0)) return;
    const player = playerElement() || movieEmbed;
    const box = player.getBoundingClientRect();
    const content = document.createRange();
    content.selectNodeContents(document.body);
    // What the page holds besides the movie (margins, the line under it) does not scale.
    const besides = content.getBoundingClientRect().height - box.height + 2 * pageMargin;
    const scale = Math.max(0.01, Math.min(1, (window.innerWidth - 2 * pageMargin) / movieSize[0],
                                          (window.innerHeight - besides) / movieSize[1]));
    const [width, height] = movieSize.map((length) => Math.max(1, Math.round(length * scale)));
    for (const element of new Set([movieEmbed, playerElement()])) {
      if (!element) continue;
      element.setAttribute("width", String(width));
      element.setAttribute("height", String(height));
      element.style.width = width + "px";
      element.style.height = height + "px";
    }
    const placed = (playerElement() || movieEmbed).getBoundingClientRect();
    report("fit", { scale, rect: [placed.left, placed.top, placed.width, placed.height] });
  };
  const fitToTheView = () => {
    if (!movieEmbed) return;
    fit();
    window.addEventListener("resize", fit);
  };

  // A movie's mouse handlers see, in this player, where the pointer was at
  // the previous mouse event; and the engine merges the moves that come in
  // while a frame is drawn into one event. A movie that measures a drag in
  // its move handler then misses the last stretch before a release, the more
  // so the slower the frames. So every move reaches the player as the hand
  // made it (the merged ones first) and once more after the player has seen
  // it, and a press comes after a move to where it happens.
  const replayPointerMoves = () => {
    let repeating = false;
    const onPlayer = (event) => {
      if (repeating || !event.isTrusted) return null;
      const path = event.composedPath();
      const canvas = path[0];
      return canvas instanceof HTMLCanvasElement && path.some((node) => node === playerElement()) ? canvas : null;
    };
    const repeat = (canvas, event, at, buttons) => {
      repeating = true;
      try {
        canvas.dispatchEvent(new PointerEvent("pointermove", {
          bubbles: true, cancelable: true, composed: true,
          clientX: at.clientX, clientY: at.clientY, screenX: at.screenX, screenY: at.screenY,
          pointerId: event.pointerId, pointerType: event.pointerType, isPrimary: event.isPrimary,
          button: -1, buttons,
        }));
      } finally {
        repeating = false;
      }
    };
    window.addEventListener("pointermove", (event) => {
      const canvas = onPlayer(event);
      if (!canvas || !event.getCoalescedEvents) return;
      for (const merged of event.getCoalescedEvents().slice(0, -1)) repeat(canvas, event, merged, event.buttons);
    }, true);
    window.addEventListener("pointermove", (event) => {
      const canvas = onPlayer(event);
      if (canvas) repeat(canvas, event, event, event.buttons);
    });
    window.addEventListener("pointerdown", (event) => {
      const canvas = onPlayer(event);
      if (canvas) repeat(canvas, event, event, 0);
    }, true);
  };

  // The window learns when the first picture is on the screen and when the
  // player gives up on the movie. The movie's script sends an fscommand as
  // soon as it starts, in the first frame; it shows the first picture in the
  // next frame.
  const watchPlayer = (player) => {
    let started = false;
    player.ruffle().addFSCommandHandler(() => {
      if (started) return;
      started = true;
      const frameRate = (player.ruffle().metadata || {}).frameRate || 12;
      setTimeout(() => requestAnimationFrame(() => report("shown", {})), 1000 / frameRate);
    });
    new MutationObserver((changes, observer) => {
      if (!player.shadowRoot.getElementById("panic")) return;
      observer.disconnect();
      report("failed", { reason: "refused" });
    }).observe(player.shadowRoot, { childList: true, subtree: true });
    fit();
  };
  const reportWhenShown = () => {
    new MutationObserver((changes, observer) => {
      const player = playerElement();
      if (!player || !player.ruffle) return;
      observer.disconnect();
      watchPlayer(player);
    }).observe(document.documentElement, { childList: true, subtree: true });
  };

  // The player draws with the graphics card where the engine has a real one,
  // and on its plain canvas elsewhere: on a software graphics adapter its
  // GPU renderers are slower than the canvas and lay a notice over the movie.
  const hasGraphicsCard = () => {
    try {
      const gl = document.createElement("canvas").getContext("webgl", { failIfMajorPerformanceCaveat: true });
      if (!gl) return false;
      const info = gl.getExtension("WEBGL_debug_renderer_info");
      const name = String(gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER));
      gl.getExtension("WEBGL_lose_context")?.loseContext();
      return !/swiftshader|llvmpipe|softpipe|software/i.test(name);
    } catch (error) {
      return false;
    }
  };

  // The shared configuration keeps the player's own pop-ups away (splash
  // screen, unmute overlay); here the player reads its files from the
  // player's folder and scales the stage to its size, whatever the movie
  // asks for.
  const configurePlayer = () => {
    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = {
      ...settings.player,
      publicPath: settings.publicPath,
      preferredRenderer: hasGraphicsCard() ? "webgl" : "canvas",
      scale: "showAll",
      forceScale: true,
    };
  };

  installFileFetch();
  fitToTheView();
  replayPointerMoves();
  reportWhenShown();
  configurePlayer();
}
