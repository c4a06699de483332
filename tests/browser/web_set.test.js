// The web page set of a VEXO run as a visitor meets it, in Debian's chromium
// (headless, driven through puppeteer-core) over file://: the landing page and
// a ranking load without a script error or a request outside the site; a
// ranking column sorts both ways and the name column sorts by text; the name
// filter hides the rows it should, the game list's map and type filters too;
// the player search finds a player and Enter opens the player's page; at
// 390x844 no page of the set is wider than the screen, and no text is smaller
// than 14 px.
// Usage: VEXO_SITE=RESULTS_FOLDER (of a run with /w) node web_set.test.js
//   CHROMIUM (default /usr/bin/chromium); VEXO_SHOTS=FOLDER also keeps
//   screenshots of the main pages at 1366 and 390 px.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const puppeteer = require('puppeteer-core');

const site = path.resolve(process.env.VEXO_SITE || '.');
const siteUrl = pathToFileURL(site).href + '/';
const shots = process.env.VEXO_SHOTS;
const phone = { width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true };
const desktop = { width: 1366, height: 900, deviceScaleFactor: 1 };

// index.html and every page below vexo_web/, as paths relative to the site
function pagesOfSet() {
  const out = ['index.html'];
  (function walk(rel) {
    for (const e of fs.readdirSync(path.join(site, rel), { withFileTypes: true })) {
      const r = rel + '/' + e.name;
      if (e.isDirectory()) walk(r);
      else if (e.name.endsWith('.html')) out.push(r);
    }
  })('vexo_web');
  return out;
}

let browser, profile;
const problems = []; // script errors and requests outside the site, per page

async function open(rel, viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport || desktop);
  await page.setRequestInterception(true);
  page.on('request', (r) => {
    if (r.url().startsWith(siteUrl) || r.url().startsWith('data:')) return r.continue();
    problems.push(`${rel}: request outside the site: ${r.url()}`);
    return r.abort();
  });
  page.on('pageerror', (e) => problems.push(`${rel}: ${e.message}`));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`${rel}: console: ${m.text()}`); });
  await page.goto(siteUrl + rel, { waitUntil: 'load' });
  return page;
}

async function shoot(page, name) {
  if (!shots) return;
  fs.mkdirSync(shots, { recursive: true });
  const w = page.viewport().width;
  await page.screenshot({ path: path.join(shots, `${name}-${w}.png`), fullPage: true });
}

// The sort values (data-v, else the text) of column col of the biggest sortable table.
const columnJs = (col) => Array.from(document.querySelector('table.sortable.vexo-test').tBodies[0].rows)
  .map((r) => { const c = r.cells[col]; return c.getAttribute('data-v') ?? c.textContent.trim(); });
const num = (s) => (s === '-' || s === '' ? -Infinity : parseFloat(s.replace(/[,%]/g, '')));

describe('the web page set in chromium', { timeout: 300000 }, () => {
  before(async () => {
    assert.ok(fs.existsSync(path.join(site, 'index.html')), `no index.html in ${site}`);
    profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vexo-chromium-'));
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run'],
    });
  });
  after(async () => {
    if (browser) await browser.close();
    if (profile) fs.rmSync(profile, { recursive: true, force: true });
  });

  it('sorts a ranking column both ways, the names by text, and filters by name', async () => {
    const page = await open('vexo_web/ranking.html');
    // the sortable table with the most rows; a visible number column not sorted yet
    const pick = await page.evaluate(() => {
      const t = Array.from(document.querySelectorAll('table.sortable'))
        .sort((a, b) => b.tBodies[0].rows.length - a.tBodies[0].rows.length)[0];
      t.classList.add('vexo-test');
      const ths = Array.from(t.tHead.rows[t.tHead.rows.length - 1].cells);
      const n = ths.findIndex((th) => th.dataset.type === 'num' && !th.hasAttribute('aria-sort') &&
        th.offsetWidth > 0 && th.textContent.trim() !== '#');
      return { n, name: ths.findIndex((th) => th.dataset.type === 'text'), rows: t.tBodies[0].rows.length };
    });
    assert.ok(pick.n >= 0 && pick.name >= 0 && pick.rows >= 3, JSON.stringify(pick));
    const before = (await page.evaluate(columnJs, pick.name)).slice().sort();
    const button = (col) => `table.vexo-test thead tr:last-child > :nth-child(${col + 1}) button`;
    const ariaSort = (col) => page.$eval(`table.vexo-test thead tr:last-child > :nth-child(${col + 1})`,
      (th) => th.getAttribute('aria-sort'));

    await page.click(button(pick.n));
    let vals = (await page.evaluate(columnJs, pick.n)).map(num);
    assert.strictEqual(await ariaSort(pick.n), 'descending');
    assert.deepStrictEqual(vals, vals.slice().sort((a, b) => b - a));
    await page.click(button(pick.n));
    vals = (await page.evaluate(columnJs, pick.n)).map(num);
    assert.strictEqual(await ariaSort(pick.n), 'ascending');
    assert.deepStrictEqual(vals, vals.slice().sort((a, b) => a - b));

    await page.click(button(pick.name));
    const names = await page.evaluate(columnJs, pick.name);
    assert.strictEqual(await ariaSort(pick.name), 'ascending');
    assert.strictEqual(await ariaSort(pick.n), null);
    for (let i = 1; i < names.length; i++) {
      assert.ok(names[i - 1].localeCompare(names[i], undefined, { numeric: true, sensitivity: 'base' }) <= 0,
        `${names[i - 1]} before ${names[i]}`);
    }
    assert.deepStrictEqual(names.slice().sort(), before, 'the same rows');

    const filter = await page.$('input.filter[data-table]');
    assert.ok(filter, 'a name filter');
    const part = await page.evaluate(() => document.querySelector('table.vexo-test tbody tr:nth-child(2)')
      .getAttribute('data-name').slice(1, 3).toUpperCase());
    await filter.type(part);
    const shown = await page.evaluate(() => Array.from(document.querySelectorAll('table.vexo-test tbody tr'))
      .map((r) => [r.getAttribute('data-name'), !r.hidden]));
    for (const [n, visible] of shown) assert.strictEqual(visible, n.includes(part.toLowerCase()), n);
    assert.ok(shown.some((s) => s[1]));
    await page.close();
  });

  it('filters the game list by map and by game type together', async () => {
    const page = await open('vexo_web/games.html');
    const table = await page.$eval('select.filter-select[data-key="map"]', (s) => s.dataset.table);
    const rows = () => page.$$eval(`#${table} tbody tr`, (trs) => trs.map((r) => [r.dataset.map, r.dataset.type, !r.hidden]));
    const all = await rows();
    assert.ok(all.length >= 2 && all.every((r) => r[2]));
    const [map, type] = all[all.length - 1]; // the oldest game's map and type
    await page.select(`select.filter-select[data-table="${table}"][data-key="map"]`, map);
    assert.deepStrictEqual((await rows()).map((r) => r[2]), all.map((r) => r[0] === map));
    await page.select(`select.filter-select[data-table="${table}"][data-key="type"]`, type);
    assert.deepStrictEqual((await rows()).map((r) => r[2]), all.map((r) => r[0] === map && r[1] === type));
    await page.select(`select.filter-select[data-table="${table}"][data-key="map"]`, '');
    assert.deepStrictEqual((await rows()).map((r) => r[2]), all.map((r) => r[1] === type));
    await page.close();
  });

  it('finds a player from the landing page and opens the page of the result', async () => {
    const page = await open('index.html');
    const players = await page.evaluate(() => (typeof VEXO_SEARCH === 'undefined' ? [] : VEXO_SEARCH));
    assert.ok(players.length > 0, 'search.js gives players');
    // a name beyond ASCII when there is one: the search data is UTF-8
    const [name, href] = players.find((p) => /[^\x20-\x7e]/.test(p[0])) || players[0];
    await page.type('#player-search', name.toUpperCase());
    const first = await page.$eval('#search-results a', (a) => [a.textContent, a.getAttribute('href')]);
    assert.deepStrictEqual(first, [name, 'vexo_web/' + href]);
    await page.keyboard.press('ArrowDown');
    assert.strictEqual(await page.evaluate(() => document.activeElement.textContent), name);
    await page.keyboard.press('ArrowUp');
    await Promise.all([page.waitForNavigation({ waitUntil: 'load' }), page.keyboard.press('Enter')]);
    assert.strictEqual(page.url(), siteUrl + 'vexo_web/' + href);
    assert.ok((await page.evaluate(() => document.body.innerText)).includes(name), 'the page names the player');
    await page.close();
  });

  it('shows every page of the set within 390 px, with text of 14 px or more', async () => {
    const pages = pagesOfSet();
    // the pages kept as screenshots: the landing page, the first of each kind
    const main = ['index.html', 'vexo_web/ranking.html'].concat(['/p/', '/g/', '/m/', 'games', 'chat']
      .map((k) => pages.find((r) => r.includes(k))).filter(Boolean));
    const wide = [];
    for (const rel of pages) {
      const page = await open(rel, phone);
      const got = await page.evaluate(() => {
        let small = null;
        for (const el of document.body.querySelectorAll('*')) {
          if (el.closest('svg') || !el.getClientRects().length) continue;
          const text = Array.from(el.childNodes).some((n) => n.nodeType === 3 && n.textContent.trim());
          const size = parseFloat(getComputedStyle(el).fontSize);
          if (text && size < 14 && !small) small = `${el.tagName} ${size}px`;
        }
        return { width: document.documentElement.scrollWidth, small };
      });
      if (got.width > 390) wide.push(`${rel}: ${got.width} px wide`);
      if (got.small) wide.push(`${rel}: text of ${got.small}`);
      if (main.includes(rel)) {
        await shoot(page, rel.replace(/\.html$/, '').replace(/\W/g, '_'));
        if (shots) await shoot(await open(rel, desktop), rel.replace(/\.html$/, '').replace(/\W/g, '_'));
      }
      await page.close();
    }
    assert.deepStrictEqual(wide, [], `${wide.length} of ${pages.length} pages`);
    console.log(`# ${pages.length} pages within 390 px`);
  });

  it('loads with no script error and no request outside the site', () => {
    assert.deepStrictEqual(problems, []);
  });
});
