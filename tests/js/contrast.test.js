// Contrast of the colours of assets/web/vexo.css, read from the style sheet
// itself: in the light theme (:root) and the dark one (:root under
// prefers-color-scheme: dark, over the light values), every name colour class
// .c0-.c7 and every text colour has 4.5:1 or better on every background
// (--bg*), every chart series class .s0-.s7 and team colour 3:1 (WCAG 2 relative luminance).
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const css = fs.readFileSync(path.join(__dirname, '../../assets/web/vexo.css'), 'utf8').replace(/\/\*[\s\S]*?\*\//g, '');

function props(block) {
  const out = {};
  for (const m of block.matchAll(/(--[\w-]+)\s*:\s*([^;}]+)/g)) out[m[1]] = m[2].trim();
  return out;
}
const dark = css.match(/@media\s*\(prefers-color-scheme:\s*dark\)\s*\{\s*:root\s*\{([^}]*)\}/);
const light = css.replace(dark[0], '').match(/:root\s*\{([^}]*)\}/);
const themes = { light: props(light[1]) };
themes.dark = Object.assign({}, themes.light, props(dark[1]));

// class name -> the custom property its colour comes from
const classes = {};
for (const m of css.matchAll(/\.([cs]\d)\s*\{\s*color:\s*var\((--[\w-]+)\)\s*;?\s*\}/g)) classes[m[1]] = m[2];

function luminance(hex) {
  assert.match(hex, /^#[0-9a-f]{6}$/i, 'a colour as #rrggbb: ' + hex);
  const [r, g, b] = [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16) / 255)
    .map((c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}
function ratio(a, b) {
  const [hi, lo] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (hi + 0.05) / (lo + 0.05);
}

test('every colour class and text colour is readable on every background in both themes', (t) => {
  for (let i = 0; i < 8; i++) {
    assert.strictEqual(classes['c' + i], '--c' + i, '.c' + i);
    assert.strictEqual(classes['s' + i], '--s' + i, '.s' + i);
  }
  let pairs = 0;
  for (const [theme, p] of Object.entries(themes)) {
    const backgrounds = Object.keys(p).filter((k) => /^--bg/.test(k));
    assert.ok(backgrounds.length >= 2, theme);
    const wanted = [];
    for (let i = 0; i < 8; i++) wanted.push(['--c' + i, 4.5], ['--s' + i, 3]);
    wanted.push(['--fg', 4.5], ['--muted', 4.5], ['--link', 4.5], ['--team-red', 3], ['--team-blue', 3]);
    for (const [fg, min] of wanted) {
      const low = Math.min(...backgrounds.map((bg) => ratio(p[fg], p[bg])));
      t.diagnostic(`${theme} ${fg} ${p[fg]}: lowest ${low.toFixed(2)}:1`);
      assert.ok(low >= min, `${theme} ${fg} ${p[fg]}: ${low.toFixed(2)}:1 < ${min}:1`);
      pairs += backgrounds.length;
    }
  }
  assert.ok(pairs >= 2 * 21 * 2);
});
