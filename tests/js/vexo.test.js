// The logic of assets/web/vexo.js: numbers of cells, the sort order, the name
// and select filters, the player search and its addresses; what it may not do.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const v = require('../../assets/web/vexo.js');

test('cells read as numbers; anything else sorts lowest', () => {
  const cases = [['12', 12], [' -3 ', -3], ['1.25', 1.25], ['.5', 0.5], ['45%', 45], ['1,234', 1234],
    ['2:05', 125], ['1:02:03', 3723], ['-', -Infinity], ['', -Infinity], ['n/a', -Infinity],
    ['1:75', -Infinity], ['12abc', -Infinity], ['1e3', 1000]];
  for (const [text, want] of cases) assert.strictEqual(v.parseNumber(text), want, text);
});

test('numbers sort by value, "-" lowest, ties keep their order in both directions', () => {
  const vals = ['10', '-', '9', '10', '-2', '100', '-'];
  assert.deepStrictEqual(v.sortOrder(vals, 'num', -1), [5, 0, 3, 2, 4, 1, 6]);
  assert.deepStrictEqual(v.sortOrder(vals, 'num', 1), [1, 6, 4, 2, 0, 3, 5]);
});

test('text sorts with the locale, case-insensitive, digits as numbers', () => {
  const vals = ['bob', 'Émile', 'alice', 'player10', 'Bob', 'player9', 'Zoë'];
  const sorted = v.sortOrder(vals, 'text', 1).map((i) => vals[i]);
  assert.deepStrictEqual(sorted, ['alice', 'bob', 'Bob', 'Émile', 'player9', 'player10', 'Zoë']);
});

test('filters combine: name as a case-insensitive substring, map and type exact', () => {
  const row = { name: 'dark knight', map: 'q3dm17', type: 'ctf' };
  const attr = (k) => (k in row ? row[k] : null);
  const cases = [
    [[{ key: 'name', value: 'KNI' }], true], [[{ key: 'name', value: '  ' }], true],
    [[{ key: 'name', value: 'x' }], false], [[{ key: 'map', value: 'q3dm1' }], false],
    [[{ key: 'map', value: '' }, { key: 'type', value: 'ctf' }], true],
    [[{ key: 'name', value: 'dark' }, { key: 'type', value: 'ffa' }], false],
    [[{ key: 'team', value: 'red' }], false], [[], true]];
  for (const [filters, want] of cases) assert.strictEqual(v.rowPasses(attr, filters), want, JSON.stringify(filters));
  assert.ok(v.matchName('ДЕНИС', 'ден'));
});

test('player search: exact name, then prefix, then substring; at most the limit', () => {
  const list = [['xAnna', 'p/1.html'], ['anna2', 'p/2.html'], ['Anna', 'p/3.html'], ['Bob', 'p/4.html'],
    ['hannah', 'p/5.html'], ['ANNABEL', 'p/6.html']];
  assert.deepStrictEqual(v.searchPlayers(list, ' anna ', 20).map((p) => p[1]),
    ['p/3.html', 'p/2.html', 'p/6.html', 'p/1.html', 'p/5.html']);
  assert.strictEqual(v.searchPlayers(list, 'an', 2).length, 2);
  assert.deepStrictEqual(v.searchPlayers(list, '', 20), []);
  assert.deepStrictEqual(v.searchPlayers(list, 'zed', 20), []);
});

test('result addresses are relative to the page; a scheme or an absolute path is refused', () => {
  const cases = [['vexo_web/', 'p/ab12.html', 'vexo_web/p/ab12.html'], ['../', 'p/x.html', '../p/x.html'],
    ['', 'p/x.html', 'p/x.html'], [undefined, 'p/x.html', 'p/x.html'], ['', 'javascript:alert(1)', null],
    ['', ' Java\tScript:x', null], ['', '\u0001javascript:x', null], ['', 'https://example.org/', null], ['', '/etc/passwd', null],
    ['', '\\\\host\\share', null]];
  for (const [base, href, want] of cases) assert.strictEqual(v.resolveHref(base, href), want, href);
});

test('the script and the style sheet load nothing: no request, no module, no font', () => {
  const dir = path.join(__dirname, '../../assets/web');
  const js = fs.readFileSync(path.join(dir, 'vexo.js'), 'utf8').replace(/\/\*[\s\S]*?\*\/|\/\/.*$/gm, '');
  const css = fs.readFileSync(path.join(dir, 'vexo.css'), 'utf8').replace(/\/\*[\s\S]*?\*\//g, '');
  for (const word of [/\bfetch\s*\(/, /XMLHttpRequest/, /\bimport\b/, /\bexport\b/, /\beval\s*\(/, /innerHTML/, /\.src\s*=/]) {
    assert.doesNotMatch(js, word);
  }
  assert.doesNotMatch(css, /url\s*\(|@import|@font-face/i);
});
