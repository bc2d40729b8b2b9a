#!/usr/bin/env node
// Whether imscJS (sandflow's IMSC reader, the npm package `imsc`) reads the timed text that
// kelcaption export writes as kelcaption reads it back.
//
// For each source and each time display, the source is exported as TTML (a TTML source is also
// taken as it is); kelcaption turns that
// file into SubRip with its own TTML reader, and imscJS gives the document's states: at each of
// its media-time events (getMediaTimeEvents) the paragraphs shown (generateISD), their lines
// joined by '|'. Both sides become the same list of states (from, to, paragraphs shown), stretches
// that show the same merged, and are compared with times within 1 ms (SubRip counts whole
// milliseconds). Prints the figures; exits 1 when any state disagrees, 77 when imsc cannot be had.
//
// usage: imsc_agrees.js KELCAPTION WORKDIR SOURCE...
// imsc is taken from NODE_PATH, or installed on first use into $KEL_NODE_CACHE (default
// ~/.cache/kelcaption-node), never into the source tree.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

// imsc's document and ISD modules; its HTML renderer, which needs a browser, is left out.
function loadImsc() {
  const load = (base) => ({ fromXML: require(base + '/src/main/js/doc').fromXML,
                            generateISD: require(base + '/src/main/js/isd').generateISD });
  try {
    return load('imsc');
  } catch (e) {
    const cache = process.env.KEL_NODE_CACHE || path.join(os.homedir(), '.cache', 'kelcaption-node');
    try {
      if (!fs.existsSync(path.join(cache, 'node_modules', 'imsc'))) {
        execFileSync('npm', ['install', '--no-audit', '--no-fund', '--prefix', cache, 'imsc@1'], { stdio: 'ignore' });
      }
      return load(path.join(cache, 'node_modules', 'imsc'));
    } catch (e2) {
      console.log('imsc is not installed and cannot be installed: ' + e2.message);
      process.exit(77);
    }
  }
}

const DISPLAYS = [[], ['--time-display', '25'], ['--time-display', '29.97df'], ['--time-display', '23.976']];

// The text of an ISD element, <br> as '|'.
function textOf(element) {
  if (element.kind === 'br') return '|';
  // Line feeds of preserved text break lines.
  if (typeof element.text === 'string') return element.space === 'preserve' ? element.text.replace(/\r?\n/g, '|') : element.text;
  return (element.contents || []).map(textOf).join('');
}

function paragraphs(element, out) {
  if (element.kind === 'p') {
    out.push(textOf(element).split('|').map((line) => line.replace(/\s+/g, ' ').trim()).filter((l) => l).join('|'));
  } else {
    for (const child of element.contents || []) paragraphs(child, out);
  }
  return out;
}

// Stretches [from, to) in ms with what they show, sorted, the same neighbours merged, empty ones left out.
function merged(states) {
  const out = [];
  for (const s of states) {
    const shown = s.shown.slice().sort().join(' / ');
    const last = out[out.length - 1];
    if (last && last.shown === shown && Math.abs(last.to - s.from) <= 1) last.to = s.to;
    else out.push({ from: s.from, to: s.to, shown });
  }
  return out.filter((s) => s.shown !== '' && s.to > s.from);
}

// imscJS's states of a document; null when it gives up on the document.
function imscStates(imsc, xml) {
  try {
    const doc = imsc.fromXML(xml, { info() {}, warn() {}, error(m) { throw new Error(m); }, fatal(m) { throw new Error(m); } });
    const events = doc.getMediaTimeEvents();
    const states = [];
    for (let i = 0; i + 1 < events.length; ++i) {
      const isd = imsc.generateISD(doc, events[i]);
      states.push({ from: events[i] * 1000, to: events[i + 1] * 1000, shown: paragraphs(isd, []) });
    }
    return merged(states);
  } catch (e) {
    return null;
  }
}

function ms(text) {
  const [h, m, s] = text.trim().replace(',', '.').split(':');
  return (Number(h) * 3600 + Number(m) * 60 + Number(s)) * 1000;
}

function ourStates(srt) {
  const cues = [];
  for (const block of srt.replace(/\r/g, '').trim().split(/\n\s*\n/)) {
    const lines = block.split('\n');
    const timing = lines.findIndex((l) => l.includes('-->'));
    if (timing < 0) continue;
    const [from, to] = lines[timing].split('-->').map((t) => ms(t.trim().split(/\s+/)[0]));
    const text = lines.slice(timing + 1).map((l) => l.replace(/<[^>]*>|\{[^}]*\}/g, '').replace(/\s+/g, ' ').trim());
    cues.push({ from, to, text: text.filter((l) => l).join('|') });
  }
  const times = [...new Set(cues.flatMap((c) => [c.from, c.to]))].sort((a, b) => a - b);
  const states = [];
  for (let i = 0; i + 1 < times.length; ++i) {
    states.push({ from: times[i], to: times[i + 1], shown: cues.filter((c) => c.from <= times[i] && times[i] < c.to).map((c) => c.text) });
  }
  return merged(states);
}

// Prints how kelcaption's and imscJS's states of `file` agree; whether they do.
function compare(imsc, tool, file, name) {
  const ours = ourStates(execFileSync(tool, ['export', file, '-o', '-', '--format', 'srt'], { encoding: 'utf8' }));
  const theirs = imscStates(imsc, fs.readFileSync(file, 'utf8'));
  if (!theirs) {
    console.log(`${name}: imscJS reads no document (not compared)`);
    return true;
  }
  let sameText = 0, sameTime = 0, largest = 0;
  for (let i = 0; i < Math.min(ours.length, theirs.length); ++i) {
    if (ours[i].shown === theirs[i].shown) ++sameText;
    const difference = Math.max(Math.abs(ours[i].from - theirs[i].from), Math.abs(ours[i].to - theirs[i].to));
    largest = Math.max(largest, difference);
    if (difference <= 1) ++sameTime;
  }
  const agree = ours.length === theirs.length && sameText === ours.length && sameTime === ours.length;
  console.log(`${name}: kelcaption ${ours.length} states, imscJS ${theirs.length}; text agrees ${sameText}, ` +
              `times agree ${sameTime} (largest difference ${largest.toFixed(3)} ms)` + (agree ? '' : '  DISAGREE'));
  if (!agree) {
    for (let i = 0; i < Math.max(ours.length, theirs.length); ++i) {
      console.log('  kelcaption ' + JSON.stringify(ours[i]) + '\n  imscJS     ' + JSON.stringify(theirs[i]));
    }
  }
  return agree;
}

function main() {
  const [tool, work, ...sources] = process.argv.slice(2);
  const imsc = loadImsc();
  fs.mkdirSync(work, { recursive: true });
  let failed = false;
  for (const source of sources) {
    // Timed text sources are compared as they are too; then each export.
    const files = /\.(ttml|dfxp|xml)$/.test(source) ? [[source, 'as read']] : [];
    for (const display of DISPLAYS) {
      const written = path.join(work, path.basename(source) + display.slice(1).join('') + '.ttml');
      try {
        execFileSync(tool, ['export', source, '-o', written, '--format', 'xml', ...display], { stdio: 'pipe' });
        files.push([written, 'as TTML ' + display.join(' ')]);
      } catch (e) {
        // a time display the source's format refuses
      }
    }
    for (const [file, how] of files) failed = !compare(imsc, tool, file, path.basename(source) + ' ' + how) || failed;
  }
  // Not process.exit: it would cut off what is still to be written to a pipe.
  process.exitCode = failed ? 1 : 0;
}

main();
