// Keeps the page's own files so that the page opens, with its counts, when the PC cannot be
// reached. The page's files are taken from the PC when it answers, else from this cache; the
// barcode reader changes only with the program, so it is taken from the cache first. The PC's
// /api/ answers are never kept.
const CACHE = 'rmstockhand-page-1';
const FILES = [
  './', 'index.html', 'app.js', 'style.css', 'manifest.webmanifest', 'icon.svg',
  'zxing/zxing_reader.js', 'zxing/zxing_reader.wasm',
];
const NETWORK_WAIT_MS = 4000;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

async function keep(request, response) {
  if (response.ok) {
    const copy = response.clone();
    caches.open(CACHE).then((cache) => cache.put(request, copy));
  }
  return response;
}

function fromNetwork(request) {
  const late = new Promise((resolve, reject) => setTimeout(() => reject(new Error('the PC did not answer')), NETWORK_WAIT_MS));
  return Promise.race([fetch(request).then((response) => keep(request, response)), late]);
}

async function networkFirst(request) {
  try {
    return await fromNetwork(request);
  } catch (error) {
    const cached = await caches.match(request, { ignoreSearch: true });
    if (cached) return cached;
    throw error;
  }
}

async function cacheFirst(request) {
  return (await caches.match(request)) ?? fromNetwork(request);
}

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin || url.pathname.startsWith('/api/')) return;
  event.respondWith(url.pathname.startsWith('/zxing/') ? cacheFirst(event.request) : networkFirst(event.request));
});
