// A static file server for the built page, on the loopback interface only.
//   node tools/serve.mjs DIR [PORT]   (default 8000)
// The tests import serve() and take a free port.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

// Resolves with the listening server; its address().port is the port.
export function serve(root, port = 0, host = '127.0.0.1') {
  const base = resolve(root);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(base, path.endsWith('/') ? `${path}index.html` : path));
    if (!file.startsWith(base)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream', 'Cache-Control': 'no-cache' });
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => done(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [root, port = '8000'] = process.argv.slice(2);
  if (!root) {
    console.error('usage: node tools/serve.mjs DIR [PORT]');
    process.exit(2);
  }
  await serve(root, Number(port), 'localhost');
  console.log(`Zirvo playground: http://localhost:${port}/`);
}
