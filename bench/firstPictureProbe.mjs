// Runs in the page before its own scripts: window.firstPicture resolves
// with the time the first picture showed.
export function watchFirstPicture() {
  performance.setResourceTimingBufferSize(100000);
  window.firstPicture = new Promise((resolve) => {
    new PerformanceObserver((entries) => {
      for (const entry of entries.getEntries()) if (entry.url.endsWith('/001.jpg')) resolve(entry.startTime);
    }).observe({ type: 'largest-contentful-paint', buffered: true });
    // The browser does not always report the picture as the largest
    // paint (the hint may be reported first and the picture never): then
    // the frame after the picture has been decoded counts.
    const poll = () => {
      const picture = document.querySelector('.turn .picture');
      if (picture?.complete && picture.naturalWidth > 0) {
        picture.decode().then(() => requestAnimationFrame(() => resolve(performance.now())), () => {});
      } else {
        requestAnimationFrame(poll);
      }
    };
    requestAnimationFrame(poll);
  });
}
