// A plain static file server for the built page, as any static web server
// would serve it.  Used by the browser tests and the page benchmark; run it
// by hand with: node web/tests/static_server.mjs build/web/site 8080
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.png': 'image/png',
};

// Serves `root` on `port` (0: any free port).  Resolves to {url, close, bytesSent}.
// `before(path)`, if given, is awaited before a file is served: tests use it
// to hold some files back.
export function serve(root, port = 0, before = null) {
  let bytesSent = 0;
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    if (before) await before(path);
    let file = join(root, path);
    try {
      if ((await stat(file)).isDirectory()) file = join(file, 'index.html');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream', 'Content-Length': body.length });
      response.end(body);
      bytesSent += body.length;
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => server.close(done)),
    bytesSent: () => bytesSent,
  })));
}

if (process.argv[1] && process.argv[1].endsWith('static_server.mjs')) {
  const served = await serve(process.argv[2] || '.', Number(process.argv[3] || 8080));
  console.log(`serving ${process.argv[2] || '.'} at ${served.url}`);
}
