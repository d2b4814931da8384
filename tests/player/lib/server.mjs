// A loopback HTTP server for the test page, the player's files and the
// movies. The player fetches its WebAssembly over http, so file:// pages
// will not do.
import http from 'node:http';
import { readFile } from 'node:fs/promises';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.map': 'application/json',
  '.wasm': 'application/wasm',
  '.swf': 'application/x-shockwave-flash',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.jpg': 'image/jpeg',
  '.txt': 'text/plain; charset=utf-8',
};

// Serves `routes`: a map from a URL prefix ("/ruffle/") to a folder, and
// `pages`: a map from an exact URL ("/index.html") to its text. A request
// waits for `gate(url)` first, when given, so that a test can hold files
// back. Resolves to { origin, close() }.
export async function startServer({ routes = {}, pages = {}, gate = null } = {}) {
  const server = http.createServer(async (request, response) => {
    try {
      const url = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
      if (gate) await gate(url);
      if (url === '/favicon.ico') {
        send(response, 204, 'image/x-icon', '');
        return;
      }
      if (url in pages) {
        send(response, 200, TYPES['.html'], pages[url]);
        return;
      }
      for (const [prefix, folder] of Object.entries(routes)) {
        if (!url.startsWith(prefix)) continue;
        const file = path.resolve(folder, url.slice(prefix.length));
        if (!file.startsWith(path.resolve(folder) + path.sep)) break;
        const body = await readFile(file);
        send(response, 200, TYPES[path.extname(file)] || 'application/octet-stream', body);
        return;
      }
      send(response, 404, 'text/plain', 'not found');
    } catch (error) {
      send(response, error.code === 'ENOENT' ? 404 : 500, 'text/plain', String(error));
    }
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', resolve);
  });
  const { port } = server.address();
  return {
    origin: `http://127.0.0.1:${port}`,
    close: () => new Promise((resolve) => {
      server.closeAllConnections?.();
      server.close(() => resolve());
    }),
  };
}

function send(response, status, type, body) {
  response.writeHead(status, { 'Content-Type': type, 'Cache-Control': 'no-store' });
  response.end(body);
}
