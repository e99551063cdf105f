// The handheld page: pairs with the transfer utility on the PC, keeps the item file and the
// counted lines in IndexedDB (so a closed page or a lost network loses nothing), counts scans
// from the handheld's scanner or its camera, and sends a count when the PC asks for one.

const POLL_MS = 1500;
const FRAME_MS = 200;
const REPEAT_MS = 1500;
const SHOWN_LINES = 300;
const ITEM_WIDTHS = [5, 15, 40, 9, 5];
const NOT_READY = 'PC not ready (start a transfer on the PC)';
const UNPAIRED = 'This handheld is no longer paired: type the code shown on the PC';

// The counting modes name the file the PC asks for and its first line.
const MODES = {
  price: { label: 'Price check' },
  stocktake: { label: 'Stocktake', wanted: 'a stocktake', magic: 'NXSTV100' },
  orders: { label: 'Orders', wanted: 'orders', magic: 'NXORV100' },
  goods: { label: 'Goods received', wanted: 'goods received', magic: 'NXGRV100' },
};
const CAMERA_FORMATS = ['ean_13', 'ean_8', 'upc_a', 'upc_e', 'code_128', 'code_39'];
const ZXING_FORMATS = ['EAN13', 'EAN8', 'UPCA', 'UPCE', 'Code128', 'Code39'];

const $ = (id) => document.getElementById(id);
const state = { token: null, name: '', mode: 'stocktake', itemCount: 0, lines: new Map(), transfer: null, sending: false };
let db;

class Unpaired extends Error {}

// --- IndexedDB -------------------------------------------------------------------------------

function request(req) {
  return new Promise((resolve, reject) => {
    req.onsuccess = () => resolve(req.result);
    req.onerror = () => reject(req.error);
  });
}

function openDatabase() {
  const open = indexedDB.open('rmstockhand', 1);
  open.onupgradeneeded = () => {
    open.result.createObjectStore('settings');
    open.result.createObjectStore('items', { keyPath: 'barcode' });
    open.result.createObjectStore('lines', { keyPath: 'key' });
  };
  return request(open);
}

// Runs work on the named stores in one transaction; resolves with its result once it is committed.
function transaction(names, work) {
  return new Promise((resolve, reject) => {
    const tx = db.transaction(names, 'readwrite');
    const stores = Object.fromEntries(names.map((name) => [name, tx.objectStore(name)]));
    let result;
    Promise.resolve(work(stores)).then((value) => { result = value; }, (error) => { tx.abort(); reject(error); });
    tx.oncomplete = () => resolve(result);
    tx.onabort = () => reject(tx.error);
  });
}

function saveSettings(values) {
  Object.assign(state, values);
  return transaction(['settings'], ({ settings }) => {
    for (const [key, value] of Object.entries(values)) settings.put(value, key);
  });
}

// A scan matches the item with that barcode; a 13-digit scan with a leading 0 also matches the
// 12-digit barcode (a UPC-A read as EAN-13).
async function findItem(items, barcode) {
  const item = await request(items.get(barcode));
  if (item || !/^0\d{12}$/.test(barcode)) return item;
  return request(items.get(barcode.slice(1)));
}

// --- Talking to the PC -----------------------------------------------------------------------

async function api(path, options = {}) {
  const headers = { ...options.headers, Authorization: `Bearer ${state.token}` };
  const response = await fetch(path, { ...options, headers, cache: 'no-store' });
  if (response.status === 401) {
    await unpair();
    throw new Unpaired();
  }
  return response;
}

function postJson(path, body) {
  return api(path, { method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) });
}

async function errorText(response) {
  const body = await response.json().catch(() => ({}));
  return body.error || `The PC refused it (${response.status})`;
}

function say(text) {
  $('message').textContent = text;
}

async function pair(event) {
  event.preventDefault();
  const code = $('code').value.trim();
  const name = $('name').value.trim();
  if (!/^\d{6}$/.test(code)) {
    $('pair-message').textContent = 'The pairing code is the 6 digits shown on the PC';
    return;
  }
  $('pair').disabled = true;
  try {
    const response = await fetch('/api/pair', {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ code, name }),
    });
    if (!response.ok) {
      $('pair-message').textContent = await errorText(response);
      return;
    }
    const paired = await response.json();
    await saveSettings({ token: paired.token, name: paired.name });
    $('code').value = '';
    showWork();
    poll();
  } catch {
    $('pair-message').textContent = NOT_READY;
  } finally {
    $('pair').disabled = false;
  }
}

async function unpair() {
  stopCamera();
  await saveSettings({ token: null });
  state.transfer = null;
  $('pair-message').textContent = UNPAIRED;
  showPairing();
}

let pollTimer = 0;
async function poll() {
  clearTimeout(pollTimer);
  if (!state.token) return;
  try {
    const response = await api('/api/transfer', { signal: AbortSignal.timeout(5000) });
    state.transfer = response.ok ? await response.json() : null;
  } catch (error) {
    if (error instanceof Unpaired) return;
    state.transfer = null;
  }
  renderTransfer();
  if (state.token) pollTimer = setTimeout(poll, POLL_MS);
}

function parseItems(text) {
  const items = [];
  for (const record of text.split(/\r?\n/)) {
    if (!record.trim()) continue;
    let at = 0;
    const [stockId, barcode, description, price, factor] = ITEM_WIDTHS.map((width) => record.slice(at, (at += width)).trim());
    items.push({ stockId, barcode, description, price, factor });
  }
  return items;
}

async function takeItems() {
  $('take').disabled = true;
  say('Taking the item file…');
  try {
    const response = await api('/api/items');
    if (!response.ok) return say(await errorText(response));
    const bytes = await response.arrayBuffer();
    const items = parseItems(new TextDecoder('iso-8859-1').decode(bytes));
    say(`Keeping ${items.length} items on this handheld…`);
    await transaction(['items', 'settings'], (stores) => {
      stores.items.clear();
      for (const item of items) if (item.barcode) stores.items.put(item);
      stores.settings.put(items.length, 'itemCount');
    });
    state.itemCount = items.length;
    renderItemCount();
    const taken = await postJson('/api/items/taken', { records: items.length, bytes: bytes.byteLength });
    say(taken.ok ? `Item file taken: ${items.length} items` : await errorText(taken));
  } catch (error) {
    if (!(error instanceof Unpaired)) say('The item file did not come whole: take it again');
  } finally {
    $('take').disabled = false;
  }
}

function recordText(line) {
  const stockId = line.stockId || '0';
  return line.mode === 'goods'
    ? `${stockId},${line.barcode},${line.supplier},${line.order},${line.qty}`
    : `${stockId},${line.barcode},${line.qty}`;
}

// Sends the lines of the mode whose file the PC asks for; they are forgotten only once the PC
// has written the file, and only the units sent (a scan made meanwhile stays).
async function send() {
  const mode = askedMode();
  if (!mode || state.sending) return;
  const sent = linesOf(mode).reverse().map((line) => ({ ...line }));
  const body = [MODES[mode].magic, ...sent.map(recordText)].map((text) => `${text}\r\n`).join('');
  state.sending = true;
  renderTransfer();
  say(`Sending ${sent.length} records…`);
  try {
    const response = await api('/api/upload', { method: 'POST', headers: { 'Content-Type': 'text/plain' }, body });
    if (!response.ok) return say(await errorText(response));
    const { records } = await response.json();
    await forgetSent(sent);
    say(`Sent ${records} records to the PC`);
  } catch (error) {
    if (!(error instanceof Unpaired)) say('Not sent: the PC did not answer. The counts are kept.');
  } finally {
    state.sending = false;
    renderTransfer();
    renderLines();
  }
}

async function forgetSent(sent) {
  const kept = await transaction(['lines'], async ({ lines }) => {
    const left = [];
    for (const line of sent) {
      const now = await request(lines.get(line.key));
      if (!now) continue;
      const qty = roundQty(now.qty - line.qty);
      if (qty > 0) {
        lines.put({ ...now, qty });
        left.push({ ...now, qty });
      } else {
        lines.delete(line.key);
      }
    }
    return left;
  });
  for (const line of sent) state.lines.delete(line.key);
  for (const line of kept) state.lines.set(line.key, line);
}

// --- Scanning --------------------------------------------------------------------------------

const roundQty = (qty) => Math.round(qty * 1000) / 1000;

function fieldNumber(id) {
  const text = $(id).value.trim();
  return /^\d{0,9}$/.test(text) ? Number(text) : null;
}

let scans = Promise.resolve();
function scanned(code) {
  scans = scans.then(() => handleScan(code.trim())).catch((error) => say(`That scan was not kept: ${error.message}`));
}

async function handleScan(barcode) {
  if (!barcode) return;
  if (!/^[\x21-\x7e]+$/.test(barcode) || barcode.includes(',')) {
    feedback(false);
    return say(`${barcode} is not a barcode this program keeps`);
  }
  if (state.mode === 'price') return priceCheck(barcode);
  const qtyText = $('qty').value.trim();
  const qty = qtyText ? Number(qtyText) : 1;
  const order = fieldNumber('order');
  const supplier = fieldNumber('supplier');
  if (!/^(\d{1,6}(\.\d{1,3})?)?$/.test(qtyText) || !(qty > 0)) {
    feedback(false);
    return say('Qty must be a number such as 3 or 2.5');
  }
  if (state.mode === 'goods' && (order === null || supplier === null)) {
    feedback(false);
    return say('Order no and Supplier no are numbers');
  }
  const goods = state.mode === 'goods';
  const key = goods ? `goods|${barcode}|${order}|${supplier}` : `${state.mode}|${barcode}`;
  const mode = state.mode;
  const line = await transaction(['items', 'lines'], async ({ items, lines }) => {
    const item = await findItem(items, barcode);
    const before = await request(lines.get(key));
    const counted = {
      key, mode, barcode, order: goods ? order : 0, supplier: goods ? supplier : 0,
      stockId: item ? item.stockId : '0', description: item ? item.description : '',
      known: Boolean(item), qty: roundQty((before ? before.qty : 0) + qty), at: Date.now(),
    };
    lines.put(counted);
    return counted;
  });
  $('qty').value = '';
  state.lines.set(key, line);
  renderLines();
  renderTransfer();
  feedback(line.known);
  $('last').textContent = `${line.known ? line.description : `${barcode}: not in item file`} +${qty} (now ${line.qty})`;
}

async function priceCheck(barcode) {
  const item = await transaction(['items'], ({ items }) => findItem(items, barcode));
  const result = $('price-result');
  result.replaceChildren(item
    ? element('div', {}, element('p', { id: 'price-desc' }, item.description),
      element('p', { id: 'price-price' }, item.price), element('p', { id: 'price-stock' }, `Stock id ${item.stockId}`))
    : element('p', { id: 'price-unknown' }, 'Not in the item file'));
  result.append(element('p', { className: 'barcode' }, barcode));
  feedback(Boolean(item));
}

let audio;
function tone(frequency, delay, seconds) {
  const oscillator = audio.createOscillator();
  const gain = audio.createGain();
  oscillator.type = 'square';
  oscillator.frequency.value = frequency;
  gain.gain.value = 0.15;
  oscillator.connect(gain).connect(audio.destination);
  oscillator.start(audio.currentTime + delay);
  oscillator.stop(audio.currentTime + delay + seconds);
}

// A short high beep for a known item, a lower double beep for anything to look at.
function feedback(good) {
  audio ??= new AudioContext();
  if (audio.state === 'suspended') audio.resume();
  if (good) {
    tone(1800, 0, 0.08);
    navigator.vibrate?.(60);
  } else {
    tone(400, 0, 0.12);
    tone(400, 0.2, 0.12);
    navigator.vibrate?.([100, 60, 100]);
  }
}

// --- Camera ----------------------------------------------------------------------------------

const camera = { stream: null, timer: 0, read: null, seen: new Map() };

function loadZxing() {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = 'zxing/zxing_reader.js';
    script.onerror = () => reject(new Error('the barcode reader did not load'));
    script.onload = () => {
      const locateFile = (path, prefix) => (path.endsWith('.wasm') ? new URL(`zxing/${path}`, location.href).href : prefix + path);
      window.ZXingWASM.prepareZXingModule({ overrides: { locateFile }, fireImmediately: true })
        .then(() => resolve(window.ZXingWASM), reject);
    };
    document.head.append(script);
  });
}

// The browser's own BarcodeDetector where it reads these formats, else zxing-wasm.
async function barcodeReader() {
  if ('BarcodeDetector' in window) {
    const supported = await window.BarcodeDetector.getSupportedFormats();
    const formats = CAMERA_FORMATS.filter((format) => supported.includes(format));
    if (formats.length) {
      const detector = new window.BarcodeDetector({ formats });
      return async (canvas) => (await detector.detect(canvas)).map((code) => code.rawValue);
    }
  }
  const zxing = await loadZxing();
  return async (canvas, context) => {
    const image = context.getImageData(0, 0, canvas.width, canvas.height);
    const results = await zxing.readBarcodes(image, { formats: ZXING_FORMATS, tryHarder: true, maxNumberOfSymbols: 1 });
    return results.filter((result) => result.isValid).map((result) => result.text);
  };
}

async function startCamera() {
  if (!navigator.mediaDevices?.getUserMedia) return say('The camera works only on the https address of this page');
  try {
    camera.read ??= await barcodeReader();
    camera.stream = await navigator.mediaDevices.getUserMedia({ video: { facingMode: 'environment' }, audio: false });
  } catch (error) {
    return say(`The camera did not start: ${error.message}`);
  }
  const video = $('video');
  video.srcObject = camera.stream;
  video.hidden = false;
  await video.play();
  $('camera').textContent = 'Stop camera';
  const canvas = document.createElement('canvas');
  const context = canvas.getContext('2d', { willReadFrequently: true });
  const stream = camera.stream;
  const readFrame = async () => {
    if (camera.stream !== stream) return;
    if (video.videoWidth) {
      canvas.width = video.videoWidth;
      canvas.height = video.videoHeight;
      context.drawImage(video, 0, 0);
      const now = Date.now();
      for (const code of await camera.read(canvas, context).catch(() => [])) {
        if (now - (camera.seen.get(code) ?? 0) > REPEAT_MS) scanned(code);
        camera.seen.set(code, now);
      }
    }
    camera.timer = setTimeout(readFrame, FRAME_MS);
  };
  readFrame();
}

function stopCamera() {
  if (!camera.stream) return;
  clearTimeout(camera.timer);
  for (const track of camera.stream.getTracks()) track.stop();
  camera.stream = null;
  $('video').hidden = true;
  $('camera').textContent = 'Start camera';
}

// --- What the page shows ---------------------------------------------------------------------

function element(tag, { dataset = {}, ...props }, ...children) {
  const node = Object.assign(document.createElement(tag), props);
  Object.assign(node.dataset, dataset);
  node.append(...children);
  return node;
}

function linesOf(mode) {
  return [...state.lines.values()].filter((line) => line.mode === mode).sort((a, b) => b.at - a.at);
}

function askedMode() {
  const transfer = state.transfer;
  return transfer?.direction === 'receive' && MODES[transfer.mode]?.magic ? transfer.mode : null;
}

function renderTransfer() {
  const transfer = state.transfer;
  const mode = askedMode();
  $('status').textContent = !transfer ? NOT_READY
    : transfer.direction === 'send' ? 'PC is sending the item file'
      : `PC is waiting for ${MODES[transfer.mode]?.wanted ?? 'a file'} (${transfer.file})`;
  $('take').hidden = transfer?.direction !== 'send';
  const count = mode ? linesOf(mode).length : 0;
  $('send').disabled = !count || state.sending;
  $('send').textContent = mode ? `Send ${MODES[mode].label} to PC (${count} lines)` : 'Send to PC';
}

function renderMode() {
  for (const button of document.querySelectorAll('.modes button')) {
    button.setAttribute('aria-pressed', String(button.dataset.mode === state.mode));
  }
  const price = state.mode === 'price';
  $('goods-fields').hidden = state.mode !== 'goods';
  $('price-result').hidden = !price;
  $('total').hidden = price;
  $('lines').hidden = price;
  $('qty').disabled = price;
  $('last').textContent = '';
  renderLines();
}

function renderLines() {
  const lines = linesOf(state.mode);
  const units = roundQty(lines.reduce((sum, line) => sum + line.qty, 0));
  $('total').textContent = `${MODES[state.mode].label}: ${lines.length} lines, ${units} units`;
  $('lines').replaceChildren(...lines.slice(0, SHOWN_LINES).map((line) => {
    const where = line.mode === 'goods' ? ` · order ${line.order} · supplier ${line.supplier}` : '';
    return element('li', { className: line.known ? '' : 'unknown', dataset: { barcode: line.barcode } },
      element('span', { className: 'qty' }, String(line.qty)),
      element('span', { className: 'what' },
        element('strong', {}, line.known ? line.description : 'not in item file'),
        element('small', {}, `${line.barcode}${where}`)),
      element('button', { type: 'button', className: 'remove', dataset: { key: line.key } }, 'Remove'));
  }));
  if (lines.length > SHOWN_LINES) $('lines').append(element('li', { className: 'more' }, `and ${lines.length - SHOWN_LINES} more lines`));
}

function renderItemCount() {
  $('items-info').textContent = state.itemCount ? `Item file on this handheld: ${state.itemCount} items` : 'No item file yet: take it when the PC sends it';
}

async function removeLine(event) {
  const button = event.target.closest('button.remove');
  const line = button && state.lines.get(button.dataset.key);
  if (!line || !confirm(`Remove ${line.known ? line.description : line.barcode} (${line.qty})?`)) return;
  await transaction(['lines'], ({ lines }) => lines.delete(line.key));
  state.lines.delete(line.key);
  renderLines();
  renderTransfer();
}

function showPairing() {
  $('work').hidden = true;
  $('paired-as').hidden = true;
  $('pairing').hidden = false;
  $('status').textContent = 'Not paired';
  $('code').focus();
}

function showWork() {
  $('pairing').hidden = true;
  $('work').hidden = false;
  $('paired-as').hidden = false;
  $('paired-as').textContent = `Paired as ${state.name}`;
  renderMode();
  renderTransfer();
  renderItemCount();
  $('scan').focus();
}

// The scan field keeps the focus, as a handheld's scanner types into whatever has it.
function keepFocus() {
  setTimeout(() => {
    const active = document.activeElement;
    if (!$('work').hidden && !(active && ['INPUT', 'SELECT', 'TEXTAREA'].includes(active.tagName))) $('scan').focus();
  }, 0);
}

function wire() {
  $('pair-form').addEventListener('submit', pair);
  $('take').addEventListener('click', takeItems);
  $('send').addEventListener('click', send);
  $('camera').addEventListener('click', () => (camera.stream ? stopCamera() : startCamera()));
  $('lines').addEventListener('click', removeLine);
  for (const button of document.querySelectorAll('.modes button')) {
    button.addEventListener('click', () => saveSettings({ mode: button.dataset.mode }).then(renderMode));
  }
  $('scan').addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    scanned($('scan').value);
    $('scan').value = '';
  });
  for (const id of ['qty', 'order', 'supplier']) {
    $(id).addEventListener('keydown', (event) => {
      if (event.key === 'Enter') $('scan').focus();
    });
  }
  for (const id of ['order', 'supplier']) {
    $(id).addEventListener('change', () => saveSettings({ [id]: $(id).value.trim() }));
  }
  $('scan').addEventListener('blur', keepFocus);
  document.addEventListener('click', keepFocus);
}

async function start() {
  navigator.serviceWorker?.register('sw.js');
  navigator.storage?.persist?.();
  db = await openDatabase();
  const tx = db.transaction(['settings', 'lines']);
  const [keys, values, lines] = await Promise.all([
    request(tx.objectStore('settings').getAllKeys()),
    request(tx.objectStore('settings').getAll()),
    request(tx.objectStore('lines').getAll()),
  ]);
  keys.forEach((key, i) => { state[key] = values[i]; });
  for (const line of lines) state.lines.set(line.key, line);
  $('order').value = state.order ?? '';
  $('supplier').value = state.supplier ?? '';
  wire();
  if (state.token) {
    showWork();
    poll();
  } else {
    showPairing();
  }
}

start().catch((error) => { $('status').textContent = `This page cannot keep counts here: ${error.message}`; });
