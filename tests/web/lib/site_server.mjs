// The built site served on the loopback, as any static web server would serve it.
import fs from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png',
  '.json': 'application/json', '.hlp': 'text/html; charset=utf-8',
};

// Serves `root` on 127.0.0.1 at a free port; `extra(pathname)` may answer other paths (bytes).
export async function serveSite(root, extra = () => null) {
  const server = http.createServer(async (request, response) => {
    const pathname = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const own = extra(pathname);
    if (own) {
      response.writeHead(200, {'Content-Type': 'application/octet-stream'});
      response.end(own);
      return;
    }
    let file = path.join(root, path.normalize(pathname));
    if (!file.startsWith(root)) file = root;
    if (pathname.endsWith('/')) file = path.join(file, 'index.html');
    try {
      const body = await fs.readFile(file);
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream',
        'Cache-Control': 'no-cache',
      });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close(),
    server};
}
