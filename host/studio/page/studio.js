// The studio's page: shows the drawing, sends pointer events to the studio
// as tool messages, and builds each tool's options dialog as a form. Every
// call goes to the studio that served the page, one at a time, in order.
'use strict';

const SHIFT = 0x20, CONTROL = 0x40, SPACE = 0x200;  // the host's modifier bits
const $ = (id) => document.getElementById(id);
const stage = $('stage'), overlay = $('overlay'), drawing = $('drawing');
let state = null;        // the studio's last answer to /api/state
let tools = [];
let tool = '';           // the active tool's name; '' is the selection tool
let spaceHeld = false;
let queue = Promise.resolve();

function status(text, isError) {
  $('status').textContent = text;
  $('status').className = isError ? 'error' : '';
}

async function call(method, path, body) {
  const init = { method, headers: {} };
  if (body !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = JSON.stringify(body);
  }
  const response = await fetch(path, init);
  const answer = await response.json();
  if (!response.ok) {
    const error = new Error(answer.error || response.statusText);
    error.status = response.status;
    throw error;
  }
  return answer;
}

// Calls run one after another, so the plug-in sees events in their order.
function enqueue(work) {
  queue = queue.then(work).catch((e) => status(e.message, true));
  return queue;
}

// ---- The drawing and what lies over it

function svgPoint(event) {
  const p = overlay.createSVGPoint();
  p.x = event.clientX;
  p.y = event.clientY;
  return p.matrixTransform(overlay.getScreenCTM().inverse());
}

function rect(el, x, y, w, h) {
  el.setAttribute('x', x); el.setAttribute('y', y);
  el.setAttribute('width', Math.max(0, w)); el.setAttribute('height', Math.max(0, h));
}

let askedVersion = -1, shownVersion = -1;
function showDrawing() {
  if (!state || state.version === askedVersion) return;
  const version = askedVersion = state.version;
  // Loaded aside and swapped in, so the picture never flickers while
  // painting; a picture that loads after a newer one is dropped.
  const next = new Image();
  next.onload = () => {
    if (version <= shownVersion) return;
    shownVersion = version;
    drawing.src = next.src;
  };
  next.src = '/drawing.svg?v=' + version;
}

function applyState(s) {
  state = s;
  const [x, y, w, h] = s.viewBox;
  overlay.setAttribute('viewBox', `${x} ${y} ${w} ${h}`);
  stage.style.aspectRatio = `${w} / ${h}`;
  const g = $('selection');
  g.textContent = '';
  for (const item of s.selection) {
    const r = document.createElementNS('http://www.w3.org/2000/svg', 'rect');
    rect(r, ...item.box);
    r.dataset.id = item.id;
    g.appendChild(r);
  }
  $('undo').disabled = !s.canUndo;
  $('redo').disabled = !s.canRedo;
  $('drawing-name').textContent = s.drawing;
  $('record').textContent = `${s.selected} objects selected; ${s.steps} steps recorded.`;
  $('problems').textContent = s.problems.length ? 'Not kept from the file:\n' + s.problems.join('\n') : '';
  showDrawing();
}

function refresh() { return call('GET', '/api/state').then(applyState); }

// ---- The palette

function chooseTool(name) {
  tool = name;
  for (const b of document.querySelectorAll('.tool')) b.classList.toggle('active', b.dataset.tool === name);
  $('brush').style.display = 'none';
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

function showDialog(d) {
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
      el.type = 'number';
      el.min = item.min; el.max = item.max;
      el.step = item.precision > 0 ? Math.pow(10, -item.precision) : 1;
      el.value = item.text;
      el.title = `from ${item.min} to ${item.max}`;
    } else if (item.kind === 'check') {
      el = document.createElement('label');
      el.className = 'check';
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = item.checked;
      el.append(box, item.text);
    } else if (item.kind === 'popup') {
      el = document.createElement('select');
      item.entries.forEach((text, i) => el.add(new Option(text, i, false, i === item.active)));
    } else if (item.kind === 'button') {
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
  }
}

// What the user changed, as the dialog manager's actions, then the button.
function dialogActions(button) {
  const actions = [];
  if (button === 1) {
    for (const item of dialogItems) {
      const el = $('dialog').querySelector(`[data-id="${item.id}"]`);
      if (!el) continue;
      if (item.kind === 'number' && el.value !== item.text) actions.push({ type: item.id, text: el.value });
      if (item.kind === 'check') {
        const on = el.querySelector('input').checked;
        if (on !== item.checked) actions.push(on ? { check: item.id } : { uncheck: item.id });
      }
      if (item.kind === 'popup' && Number(el.value) !== item.active) actions.push({ pick: [item.id, Number(el.value)] });
    }
  }
  actions.push({ press: button });
  return actions;
}

async function pressDialog(button) {
  const answer = await call('POST', '/api/options', { tool, actions: dialogActions(button) });
  showDialog(answer.dialog);
  $('dialog-problems').textContent = answer.problems.join('\n');
  status(button === 1 ? (answer.problems.length ? 'some values were refused' : 'options set') : 'cancelled', answer.problems.length > 0);
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

function showBrush(p, pressureValue) {
  const b = $('brush');
  if (!tool || !state) { b.style.display = 'none'; return; }
  const f = state.brush.sizeFromPressure ? pressureValue / 255 : 1;
  const hx = state.brush.hx * f, hy = state.brush.hy * f;
  rect(b, p.x - hx, p.y - hy, 2 * hx, 2 * hy);
  b.style.display = '';
}

let gesture = null;  // {kind: 'stroke' | 'band', ...} while a button is down
let pending = [];    // drag points not yet sent
let sending = false;

function point(event) {
  const p = svgPoint(event);
  return { at: [p.x, p.y], pressure: pressure(event), modifiers: modifiers(event) };
}

function sendDrags() {
  if (sending) return;
  sending = true;
  enqueue(async () => {
    sending = false;
    if (!pending.length) return;
    const points = pending;
    pending = [];
    applyState(await call('POST', '/api/stroke/drag', { points }));
  });
}

overlay.addEventListener('pointerdown', (event) => {
  if (event.button !== 0 || !state) return;
  overlay.setPointerCapture(event.pointerId);
  const p = svgPoint(event);
  if (tool) {
    gesture = { kind: 'stroke' };
    const down = point(event);
    enqueue(async () => applyState(await call('POST', '/api/stroke/down', { tool, at: down.at, pressure: down.pressure })));
  } else {
    gesture = { kind: 'band', from: p, add: event.shiftKey };
  }
  event.preventDefault();
});

overlay.addEventListener('pointermove', (event) => {
  const p = svgPoint(event);
  showBrush(p, gesture ? pressure(event) : 255);
  if (!gesture) return;
  if (gesture.kind === 'stroke') {
    // Every coalesced event is one drag message, as the pen moved.
    const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [event];
    for (const e of (events.length ? events : [event])) {
      const p = point(e);
      gesture.cycled = gesture.cycled || (p.modifiers & SHIFT) !== 0;
      pending.push(p);
    }
    sendDrags();
  } else {
    gesture.to = p;
    const band = $('band');
    rect(band, Math.min(gesture.from.x, p.x), Math.min(gesture.from.y, p.y), Math.abs(p.x - gesture.from.x), Math.abs(p.y - gesture.from.y));
    band.style.display = '';
  }
});

function endGesture(event) {
  if (!gesture) return;
  const g = gesture;
  gesture = null;
  if (g.kind === 'stroke') {
    sendDrags();
    enqueue(async () => {
      const answer = await call('POST', '/api/stroke/up', {});
      applyState(answer);
      // Shift cycled the tool's main values: the form shows them as they are now.
      if (g.cycled && tool) await loadDialog(tool);
      status(answer.message || 'stroke painted');
    });
    return;
  }
  $('band').style.display = 'none';
  const to = svgPoint(event);
  const moved = Math.hypot(to.x - g.from.x, to.y - g.from.y) > state.viewBox[2] / 200;
  const body = moved ? { box: [g.from.x, g.from.y, to.x, to.y], add: g.add } : { at: [to.x, to.y], add: g.add };
  enqueue(async () => { applyState(await call('POST', '/api/select', body)); status(`${state.selected} objects selected`); });
}
overlay.addEventListener('pointerup', endGesture);
overlay.addEventListener('pointercancel', endGesture);
overlay.addEventListener('pointerleave', () => { if (!gesture) $('brush').style.display = 'none'; });

// ---- Commands

function command(path, done) {
  enqueue(async () => {
    const s = await call('POST', path, {});
    applyState(s);
    status(s.done === false ? 'nothing to ' + path.split('/').pop() : done);
    if (tool) await loadDialog(tool);
  });
}
$('undo').addEventListener('click', () => command('/api/undo', 'undone'));
$('redo').addEventListener('click', () => command('/api/redo', 'redone'));
$('select-all').addEventListener('click', () => enqueue(async () => applyState(await call('POST', '/api/select', { all: true }))));
$('select-none').addEventListener('click', () => enqueue(async () => applyState(await call('POST', '/api/select', { all: false }))));

document.addEventListener('keydown', (event) => {
  if (event.target.closest('input, select')) return;
  if (event.code === 'Space') { spaceHeld = true; event.preventDefault(); }
  const key = event.key.toLowerCase();
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
