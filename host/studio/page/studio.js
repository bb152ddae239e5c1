// The studio's page: holds the drawing as live SVG, sends pointer events to
// the studio as tool messages, and builds each tool's options dialog as a
// form. Calls go out as they come, without waiting for the answers to
// earlier ones; each carries its place in the page's order, and the studio
// plays them in that order. The drawing is loaded once; every answer after
// that carries only what changed in it, numbered, and the page applies
// those changes in their order.
'use strict';

const SHIFT = 0x20, CONTROL = 0x40, SPACE = 0x200;  // the host's modifier bits
const SVG = 'http://www.w3.org/2000/svg';
const $ = (id) => document.getElementById(id);
// Found once, before the drawing is shown: its ids are the file's.
const stage = $('stage'), overlay = $('overlay'), drawingHost = $('drawing');
const selectionLayer = $('selection'), selectionBox = $('selection-box'), band = $('band'), brush = $('brush');
let state = null;        // the studio's last state
let tools = [];
let tool = '';           // the active tool's name; '' is the selection tool
let spaceHeld = false;

function status(text, isError) {
  $('status').textContent = text;
  $('status').className = isError ? 'error' : '';
}

// ---- Calls, in the page's order

const pageToken = Math.random().toString(36).slice(2) + Date.now().toString(36);
let posted = 0, asked = 0, inFlight = 0, peakInFlight = 0;
let latestState = 0;  // the place of the call whose state the page shows

async function call(method, path, body) {
  const init = { method, headers: {} };
  // Calls that change something are numbered for the studio, from 1 with
  // none left out; questions are not, and only order the answers here.
  const place = method === 'POST' ? ++posted : posted + (++asked) / 1e6;
  if (method === 'POST') {
    init.headers['Content-Type'] = 'application/json';
    init.headers['X-Studio-Order'] = pageToken + ' ' + posted;
    init.body = JSON.stringify(body === undefined ? {} : body);
  }
  peakInFlight = Math.max(peakInFlight, ++inFlight);
  try {
    const sending = performance.now();
    const pending = fetch(path, init);
    spent.fetch += performance.now() - sending;
    const response = await pending;
    const answer = await response.json();
    if (!response.ok) {
      const error = new Error(answer.error || response.statusText);
      error.status = response.status;
      throw error;
    }
    if (answer && typeof answer === 'object' && !Array.isArray(answer)) {
      if ('changes' in answer) takeChanges(answer.changes);
      answer.place = place;
    }
    return answer;
  } finally {
    inFlight--;
    if (inFlight === 0) settled();
  }
}

// Work that must see the answers of what came before it (a dialog that
// shows options as set) still waits for them.
let queue = Promise.resolve();
function enqueue(work) {
  queue = queue.then(work).catch((e) => status(e.message, true));
  return queue;
}
function report(promise) { promise.catch((e) => status(e.message, true)); return promise; }

// ---- The drawing, as live SVG in a shadow root of its own (its ids and
// styles stay apart from the page's). Its objects are held in runs of
// consecutive ones, each run an <svg> of its own stacked over the one
// before, so that a change has the browser lay out and paint again only the
// runs it falls in, not the whole drawing.

const shadow = drawingHost.attachShadow({ mode: 'open' });
let defs = null, runs = [], layers = [];  // layers[i]: the runs of layer i, each a <g>
const byKey = new Map();
let shownSeq = 0;
const waiting = new Map();  // changes that came before those they follow
let loading = null;
let viewBox = '0 0 1 1';

// Elements from the markup the studio sent (already made safe), by key.
function parseElements(markups) {
  // The namespaces the studio's writer declares on a drawing's root: its
  // markup may use their prefixes (a swatch's editor mark among them).
  const text = `<svg xmlns="${SVG}" xmlns:xlink="http://www.w3.org/1999/xlink" ` +
    `xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape">${markups.join('')}</svg>`;
  const doc = new DOMParser().parseFromString(text, 'image/svg+xml');
  if (doc.querySelector('parsererror')) throw new Error('the studio sent markup that does not parse');
  return [...doc.documentElement.children];
}

function keyOf(el) { return Number(el.getAttribute('data-key')); }

function newRun(hidden) {
  const svg = document.createElementNS(SVG, 'svg');
  svg.setAttribute('preserveAspectRatio', 'xMidYMid meet');
  svg.setAttribute('viewBox', viewBox);
  Object.assign(svg.style, { position: 'absolute', left: '0', top: '0', width: '100%', height: '100%',
                             willChange: 'transform', overflow: 'hidden' });
  const g = document.createElementNS(SVG, 'g');
  if (hidden) g.setAttribute('display', 'none');
  svg.appendChild(g);
  runs.push(svg);
  return g;
}

function showWhole(d) {
  const total = d.layers.reduce((n, layer) => n + layer.objects.length, 0);
  // About two dozen runs: few enough layers for the browser to keep, small
  // enough that one costs a twenty-fourth of the drawing to draw again.
  const perRun = Math.max(500, Math.ceil(total / 24));
  runs = [];
  const defsHolder = document.createElementNS(SVG, 'svg');
  Object.assign(defsHolder.style, { position: 'absolute', width: '0', height: '0' });
  defs = document.createElementNS(SVG, 'defs');
  for (const el of parseElements([d.defs])) defs.appendChild(el);
  defsHolder.appendChild(defs);
  byKey.clear();
  layers = d.layers.map((layer) => {
    const els = parseElements(layer.objects.map((o) => o[1]));
    const groups = [newRun(layer.hidden)];
    for (const el of els) {
      if (groups[groups.length - 1].childElementCount >= perRun) groups.push(newRun(layer.hidden));
      byKey.set(keyOf(el), el);
      groups[groups.length - 1].appendChild(el);
    }
    return groups;
  });
  shadow.replaceChildren(defsHolder, ...runs);
  shownSeq = d.seq;
  for (const seq of [...waiting.keys()]) if (seq <= shownSeq) waiting.delete(seq);
  applyWaiting();
}

function setViewBox(box) {
  viewBox = box;
  for (const svg of runs) svg.setAttribute('viewBox', box);
}

function loadDrawing() {
  if (!loading) {
    loading = call('POST', '/api/drawing', {}).then(showWhole).finally(() => { loading = null; });
    report(loading);
  }
  return loading;
}

function applyChanges(c) {
  if (c.reload) { loadDrawing(); return false; }
  if (c.defs) for (const el of parseElements([c.defs])) defs.appendChild(el);
  for (const key of c.removed || []) {
    const el = byKey.get(key);
    if (el) el.remove();
    byKey.delete(key);
  }
  if (c.added) {
    const els = parseElements(c.added.map((a) => a[3]));
    c.added.forEach(([key, layer, after], i) => {
      const el = els[i], groups = layers[layer];
      if (!el || !groups) return;
      byKey.set(key, el);
      const before = after === null ? null : byKey.get(after);
      if (before) before.after(el); else groups[0].prepend(el);
    });
  }
  if (c.changed) {
    for (const el of parseElements(c.changed.map((x) => x[1]))) {
      const old = byKey.get(keyOf(el));
      if (old) old.replaceWith(el);
      byKey.set(keyOf(el), el);
    }
  }
  return true;
}

function applyWaiting() {
  while (!loading && waiting.has(shownSeq + 1)) {
    const c = waiting.get(shownSeq + 1);
    waiting.delete(shownSeq + 1);
    shownSeq = c.seq;
    if (!applyChanges(c)) return;
  }
}

const spent = { changes: 0, moves: 0, fetch: 0 };  // ms of script, for the benchmark
function takeChanges(c) {
  if (!c || c.seq <= shownSeq) return;
  const start = performance.now();
  waiting.set(c.seq, c);
  applyWaiting();
  spent.changes += performance.now() - start;
}

// Nothing in flight: changes still waiting follow one the page never got
// (a call that failed); the drawing is loaded whole again.
function settled() {
  if (waiting.size && !loading) { waiting.clear(); loadDrawing(); }
  document.dispatchEvent(new Event('studio-settled'));
}

// For tests and the benchmark: whether the page has shown every change the
// studio sent and waits for no answer.
window.studioShown = () => ({ seq: shownSeq, idle: inFlight === 0 && !loading && waiting.size === 0, peak: peakInFlight, spent });

// ---- What lies over the drawing

// The map from the window to the drawing, kept until the page moves or
// changes size: asking for it after the drawing changed would have the
// browser lay the drawing out then and there, on every pointer event.
let overlayMatrix = null;
for (const type of ['resize', 'scroll']) window.addEventListener(type, () => { overlayMatrix = null; }, true);
new ResizeObserver(() => { overlayMatrix = null; }).observe(stage);
function svgPoint(event) {
  if (!overlayMatrix) overlayMatrix = overlay.getScreenCTM().inverse();
  const p = overlay.createSVGPoint();
  p.x = event.clientX;
  p.y = event.clientY;
  return p.matrixTransform(overlayMatrix);
}

function rect(el, x, y, w, h) {
  el.setAttribute('x', x); el.setAttribute('y', y);
  el.setAttribute('width', Math.max(0, w)); el.setAttribute('height', Math.max(0, h));
}

// Outlines are drawn when a state comes, which is when the selection may
// have changed (never on a drag's answer); past a few hundred objects the
// studio sends one box around them all.
let outlinedFor = '';
function showSelection(s) {
  const box = s.selectionBox;
  if (box) { rect(selectionBox, ...box); selectionBox.style.display = ''; } else selectionBox.style.display = 'none';
  const key = JSON.stringify(s.selection);
  if (key === outlinedFor) return;
  outlinedFor = key;
  selectionLayer.textContent = '';
  for (const item of s.selection) {
    const r = document.createElementNS(SVG, 'rect');
    rect(r, ...item.box);
    r.dataset.id = item.id;
    selectionLayer.appendChild(r);
  }
}

function applyState(s) {
  if (s.place !== undefined) {
    if (s.place < latestState) return;
    latestState = s.place;
  }
  if (!('viewBox' in s)) {  // a drag's answer: what it says, no more
    if (state) Object.assign(state, s);
    return;
  }
  state = s;
  const [, , w, h] = s.viewBox;
  stage.style.aspectRatio = `${w} / ${h}`;
  showView();
  showSelection(s);
  $('undo').disabled = !s.canUndo;
  $('redo').disabled = !s.canRedo;
  $('drawing-name').textContent = s.drawing;
  $('record').textContent = `${s.selected} objects selected; ${s.steps} steps recorded.`;
  $('problems').textContent = s.problems.length ? 'Not kept from the file:\n' + s.problems.join('\n') : '';
}

function refresh() { return call('GET', '/api/state').then(applyState); }

// ---- Zoom and pan: the part of the page shown, in the drawing's units

let view = null;  // [x, y, w, h]; null: the whole page, fitted to the window

function shownBox() { return view || state.viewBox; }

function showView() {
  const [x, y, w, h] = shownBox();
  const box = `${x} ${y} ${w} ${h}`;
  overlay.setAttribute('viewBox', box);
  if (viewBox !== box) setViewBox(box);
  overlayMatrix = null;
  $('zoom').textContent = Math.round(100 * state.viewBox[2] / w) + '%';
}

// `factor` above 1 zooms in, keeping `about` (a point of the drawing) where it is.
function zoom(factor, about) {
  if (!state) return;
  const [x, y, w, h] = shownBox();
  const page = state.viewBox[2];
  const f = Math.min(Math.max(factor, w / (page * 8)), w / (page / 256));  // from an eighth to 256 times
  const c = about || { x: x + w / 2, y: y + h / 2 };
  view = [c.x - (c.x - x) / f, c.y - (c.y - y) / f, w / f, h / f];
  showView();
}

function fit() { view = null; if (state) showView(); }

overlay.addEventListener('wheel', (event) => {
  if (!(event.ctrlKey || event.metaKey)) return;
  event.preventDefault();
  zoom(event.deltaY < 0 ? 1.25 : 0.8, svgPoint(event));
}, { passive: false });

// Brush size, as the dialog's two brush fields, each change an options step.
function brushSize(factor) {
  if (!state || !tools.length) return;
  const name = tool || tools[0].name;
  const size = (v) => String(Math.min(2000, Math.max(0.01, Math.round(v * factor * 100) / 100)));
  commitField({ id: 191 }, size(state.brush.hx), name);
  commitField({ id: 192 }, size(state.brush.hy), name);
}

// ---- The palette

function chooseTool(name) {
  tool = name;
  for (const b of document.querySelectorAll('.tool')) b.classList.toggle('active', b.dataset.tool === name);
  brush.style.display = 'none';
  if (name) enqueue(() => loadDialog(name));
  else {
    $('dialog-title').textContent = 'Selection';
    $('dialog').textContent = '';
    $('dialog').style.height = '0';
  }
}

async function buildPalette() {
  tools = await call('GET', '/api/tools');
  for (const t of tools) {
    const b = document.createElement('button');
    b.className = 'tool';
    b.dataset.tool = t.name;
    b.title = t.tooltip + '\n' + t.title.trim();
    b.setAttribute('aria-label', t.title.trim());
    const icon = document.createElement('img');
    icon.src = t.icon;
    icon.alt = '';
    b.appendChild(icon);
    b.addEventListener('click', () => chooseTool(t.name));
    $('palette').appendChild(b);
  }
  $('tool-select').addEventListener('click', () => chooseTool(''));
}

// ---- The options dialog as a form

let dialogItems = [];
async function loadDialog(name) {
  // A POST: opening a dialog ends an open stroke, and no GET changes anything.
  showDialog(await call('POST', '/api/dialog', { tool: name }));
}

function place(el, item) {
  const [l, t, r, b] = item.rect;
  Object.assign(el.style, { left: l + 'px', top: t + 'px', width: (r - l) + 'px', height: (b - t) + 'px' });
  el.dataset.id = item.id;
  return el;
}

// Each field applies when committed (Enter, or leaving it; a box or a popup
// when changed), as one options step. A value the dialog would change is
// refused with its limits, and the form goes back to what the next stroke
// will use.
function showDialog(d, refused) {
  const form = $('dialog');
  form.textContent = '';
  $('dialog-title').textContent = d.title;
  form.style.width = d.width + 'px';
  form.style.height = d.height + 'px';
  dialogItems = d.items;
  for (const item of d.items) {
    let el;
    if (item.kind === 'number') {
      el = document.createElement('input');
      el.type = 'text';
      el.inputMode = 'decimal';
      el.value = item.text;
      el.title = `from ${item.min} to ${item.max}`;
      el.addEventListener('change', () => commitField(item, el.value));
      el.addEventListener('keydown', (e) => { if (e.key === 'Escape') { el.value = item.text; el.blur(); } });
    } else if (item.kind === 'check') {
      el = document.createElement('label');
      el.className = 'check';
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = item.checked;
      box.addEventListener('change', () => commitField(item, box.checked ? '1' : '0'));
      el.append(box, item.text);
    } else if (item.kind === 'popup') {
      el = document.createElement('select');
      item.entries.forEach((text, i) => el.add(new Option(text, i, false, i === item.active)));
      el.addEventListener('change', () => commitField(item, el.value));
    } else if (item.kind === 'button') {
      if (item.id === 1 || item.id === 2) continue;  // OK and Cancel: every field applies as it is committed
      el = document.createElement('button');
      el.type = 'button';
      el.textContent = item.text.replace('&', '');
      el.addEventListener('click', () => enqueue(() => pressDialog(item.id)));
    } else {
      el = document.createElement('span');
      el.className = 'label';
      el.textContent = item.text;
    }
    form.appendChild(place(el, item));
    if (refused && refused.id === item.id) {
      el.classList.add('refused');
      el.title = refused.message;
    }
  }
}

function commitField(item, value, name = tool) {
  enqueue(async () => {
    try {
      const answer = await call('POST', '/api/field', { tool: name, item: item.id, value });
      if (tool === name) showDialog(answer.dialog);
      $('dialog-problems').textContent = '';
      status(`${answer.label} set`);
      await refresh();
    } catch (e) {
      $('dialog-problems').textContent = e.message;
      status('refused: ' + e.message, true);
      if (tool === name) showDialog(await call('POST', '/api/dialog', { tool: name }), { id: item.id, message: e.message });
    }
  });
}

// A button of the dialog other than OK and Cancel.
async function pressDialog(button) {
  const answer = await call('POST', '/api/options', { tool, actions: [{ press: button }] });
  showDialog(answer.dialog);
  $('dialog-problems').textContent = answer.problems.join('\n');
  status('options set');
  await refresh();
}

// ---- Pointer: selecting and painting

function modifiers(event) {
  return (event.shiftKey ? SHIFT : 0) | (event.ctrlKey || event.metaKey ? CONTROL : 0) | (spaceHeld ? SPACE : 0);
}

// A mouse reports no pressure: it paints at full pressure, as the host's mouse does.
function pressure(event) {
  return event.pointerType === 'mouse' ? 255 : Math.round(Math.min(1, Math.max(0, event.pressure)) * 255);
}

// One outline follows the pen: the page's, except while a stroke paints
// with the plug-in's own outline on, which is then in the drawing.
function showBrush(p, pressureValue, stroking) {
  if (!tool || !state || (stroking && state.brush.outline)) { brush.style.display = 'none'; return; }
  const f = state.brush.sizeFromPressure ? pressureValue / 255 : 1;
  const hx = state.brush.hx * f, hy = state.brush.hy * f;
  rect(brush, p.x - hx, p.y - hy, 2 * hx, 2 * hy);
  brush.style.display = '';
}

let gesture = null;  // {kind: 'stroke' | 'band', ...} while a button is down

function point(event) {
  const p = svgPoint(event);
  return { at: [p.x, p.y], pressure: pressure(event), modifiers: modifiers(event) };
}

overlay.addEventListener('pointerdown', (event) => {
  if (!state || gesture) return;
  // The middle button, or the left one with Space held, moves the view.
  if (event.button === 1 || (event.button === 0 && spaceHeld)) {
    overlay.setPointerCapture(event.pointerId);
    const m = overlay.getScreenCTM();
    gesture = { kind: 'pan', x: event.clientX, y: event.clientY, view: shownBox(), a: m.a, d: m.d };
    event.preventDefault();
    return;
  }
  if (event.button !== 0) return;
  overlay.setPointerCapture(event.pointerId);
  const p = svgPoint(event);
  if (tool) {
    gesture = { kind: 'stroke' };
    const down = point(event);
    showBrush(p, down.pressure, true);
    report(call('POST', '/api/stroke/down', { tool, at: down.at, pressure: down.pressure }).then(applyState));
  } else {
    gesture = { kind: 'band', from: p, add: event.shiftKey };
  }
  event.preventDefault();
});

overlay.addEventListener('pointermove', (event) => {
  const start = performance.now();
  movePointer(event);
  spent.moves += performance.now() - start;
});
function movePointer(event) {
  if (gesture && gesture.kind === 'pan') {
    const [x, y, w, h] = gesture.view;
    view = [x - (event.clientX - gesture.x) / gesture.a, y - (event.clientY - gesture.y) / gesture.d, w, h];
    showView();
    return;
  }
  const p = svgPoint(event);
  showBrush(p, gesture ? pressure(event) : 255, gesture && gesture.kind === 'stroke');
  if (!gesture) return;
  if (gesture.kind === 'stroke') {
    // Every coalesced event is one drag message, as the pen moved; they go
    // out now, whatever is still on its way.
    const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [event];
    const points = (events.length ? events : [event]).map(point);
    gesture.cycled = gesture.cycled || points.some((q) => (q.modifiers & SHIFT) !== 0);
    report(call('POST', '/api/stroke/drag', { points }).then(applyState));
  } else {
    gesture.to = p;
    rect(band, Math.min(gesture.from.x, p.x), Math.min(gesture.from.y, p.y), Math.abs(p.x - gesture.from.x), Math.abs(p.y - gesture.from.y));
    band.style.display = '';
  }
}

function endGesture(event) {
  if (!gesture) return;
  const g = gesture;
  gesture = null;
  if (g.kind === 'pan') return;
  if (g.kind === 'stroke') {
    const up = call('POST', '/api/stroke/up', {});
    enqueue(async () => {
      const answer = await up;
      applyState(answer);
      // Shift cycled the tool's main values: the form shows them as they are now.
      if (g.cycled && tool) await loadDialog(tool);
      status(answer.message || 'stroke painted');
    });
    return;
  }
  band.style.display = 'none';
  const to = svgPoint(event);
  const moved = Math.hypot(to.x - g.from.x, to.y - g.from.y) > shownBox()[2] / 200;
  const body = moved ? { box: [g.from.x, g.from.y, to.x, to.y], add: g.add } : { at: [to.x, to.y], add: g.add };
  const answer = call('POST', '/api/select', body);
  enqueue(async () => { applyState(await answer); status(`${state.selected} objects selected`); });
}
overlay.addEventListener('pointerup', endGesture);
overlay.addEventListener('pointercancel', endGesture);
overlay.addEventListener('pointerleave', () => { if (!gesture) brush.style.display = 'none'; });

// ---- Commands

function command(path, done) {
  const answer = call('POST', path, {});
  enqueue(async () => {
    const s = await answer;
    applyState(s);
    status(s.done === false ? 'nothing to ' + path.split('/').pop() : done);
    if (tool) await loadDialog(tool);
  });
}
function selectAll(all) {
  const answer = call('POST', '/api/select', { all });
  enqueue(async () => applyState(await answer));
}
$('undo').addEventListener('click', () => command('/api/undo', 'undone'));
$('redo').addEventListener('click', () => command('/api/redo', 'redone'));
$('select-all').addEventListener('click', () => selectAll(true));
$('select-none').addEventListener('click', () => selectAll(false));

$('fit').addEventListener('click', fit);

document.addEventListener('keydown', (event) => {
  if (event.target.closest('input, select')) return;
  if (event.code === 'Space') { spaceHeld = true; event.preventDefault(); }
  const key = event.key.toLowerCase();
  // Zoom with or without Ctrl (with it, instead of the browser's own zoom).
  const zooms = { '+': () => zoom(1.25), '=': () => zoom(1.25), '-': () => zoom(0.8), '0': fit };
  if (zooms[key] && !event.altKey) { event.preventDefault(); zooms[key](); return; }
  if ((key === '[' || key === ']') && !(event.ctrlKey || event.metaKey)) { brushSize(key === ']' ? 1.25 : 0.8); return; }
  if (!(event.ctrlKey || event.metaKey)) return;
  if (key === 'z') { event.preventDefault(); command(event.shiftKey ? '/api/redo' : '/api/undo', event.shiftKey ? 'redone' : 'undone'); }
  if (key === 'y') { event.preventDefault(); command('/api/redo', 'redone'); }
  if (key === 'a') { event.preventDefault(); $('select-all').click(); }
});
document.addEventListener('keyup', (event) => { if (event.code === 'Space') spaceHeld = false; });

$('save').addEventListener('submit', (event) => {
  event.preventDefault();
  const body = { svg: $('save-svg').value, session: $('save-session').value };
  enqueue(async () => {
    let saved;
    try {
      saved = await call('POST', '/api/save', body);
    } catch (e) {
      if (e.status !== 409 || !/exists/.test(e.message) || !confirm(e.message + '\nOverwrite?')) throw e;
      saved = await call('POST', '/api/save', { ...body, overwrite: true });
    }
    status(`saved ${saved.svg} and ${saved.session}`);
  });
});

enqueue(async () => {
  await buildPalette();
  await refresh();
  await loadDrawing();
  const base = state.name.replace(/[^\w.-]+/g, '-').replace(/^\.+/, '') || 'drawing';
  $('save-svg').value = base + '-painted.svg';
  $('save-session').value = base + '-session.json';
  $('save-svg').addEventListener('input', () => {
    $('record-link').href = '/api/session?svg=' + encodeURIComponent($('save-svg').value);
  });
  $('save-svg').dispatchEvent(new Event('input'));
  chooseTool('');
  status('ready');
});
