/* vexo.js: the script of the web page set. A classic script, no module, no
   request: every page reads in full without it; it only sorts the tables of
   class "sortable", filters rows by name, map and game type, and searches the
   players of VEXO_SEARCH (search.js). The pure functions at the top are
   exported to node for the tests; the rest binds them to the page. */
(function () {
  'use strict';

  // The number a cell shows: "12", "-3", "1.25", "45%", "1,234", "1:02:03"
  // (a time, as seconds). "-", an empty cell and any other text give
  // -Infinity, so that they sort lowest.
  function parseNumber(text) {
    var s = String(text).trim().replace(/[,\u00a0 ]/g, '');
    if (/^[+-]?(\d+\.?\d*|\.\d+)(e[+-]?\d+)?%?$/i.test(s)) return parseFloat(s);
    if (/^\d+(:[0-5]\d)+$/.test(s)) {
      return s.split(':').reduce(function (sum, part) { return sum * 60 + Number(part); }, 0);
    }
    return -Infinity;
  }

  // Order of two sort values of a column of type "num" or "text".
  function compareValues(a, b, type) {
    if (type === 'num') {
      var x = parseNumber(a), y = parseNumber(b);
      return x < y ? -1 : x > y ? 1 : 0;
    }
    return String(a).localeCompare(String(b), undefined, { numeric: true, sensitivity: 'base' });
  }

  // The order (indexes into values) that sorts values ascending (dir 1) or
  // descending (dir -1); equal values keep their order in either direction.
  function sortOrder(values, type, dir) {
    var idx = values.map(function (v, i) { return i; });
    return idx.sort(function (i, j) {
      return dir * compareValues(values[i], values[j], type) || i - j;
    });
  }

  // Does name hold the typed text (case-insensitive; empty text matches all)?
  function matchName(name, query) {
    var q = String(query).trim().toLowerCase();
    return q === '' || String(name).toLowerCase().indexOf(q) >= 0;
  }

  // Does a row pass every filter? attr(key) gives the row's data-<key>;
  // a filter is {key: 'name', value: text} (substring) or {key, value} for an
  // exact value, where an empty value lets every row pass.
  function rowPasses(attr, filters) {
    return filters.every(function (f) {
      if (f.value === '') return true;
      var v = attr(f.key);
      if (v === null || v === undefined) return false;
      return f.key === 'name' ? matchName(v, f.value) : v === f.value;
    });
  }

  // Up to limit entries [name, href] of list whose name holds the query:
  // the exact name first, then names that begin with it, then the others,
  // each group in the list's order.
  function searchPlayers(list, query, limit) {
    var q = String(query).trim().toLowerCase();
    if (q === '') return [];
    var groups = [[], [], []];
    for (var i = 0; i < list.length; i++) {
      var n = String(list[i][0]).toLowerCase(), at = n.indexOf(q);
      if (at >= 0) groups[n === q ? 0 : at === 0 ? 1 : 2].push(list[i]);
    }
    return groups[0].concat(groups[1], groups[2]).slice(0, limit);
  }

  // A search result's address seen from the page: base + href; an href with
  // a scheme ("javascript:", "http:") or an absolute path is refused (null).
  // Spaces and control characters go first, as a browser drops them too.
  function resolveHref(base, href) {
    href = String(href).replace(/[\u0000-\u0020\u007f]/g, '');
    if (/^[a-z][a-z0-9+.-]*:/i.test(href) || /^[\/\\]/.test(href)) return null;
    return (base || '') + href;
  }

  var api = {
    parseNumber: parseNumber, compareValues: compareValues, sortOrder: sortOrder,
    matchName: matchName, rowPasses: rowPasses, searchPlayers: searchPlayers, resolveHref: resolveHref
  };
  if (typeof module !== 'undefined' && module.exports) {
    module.exports = api;
    return;
  }
  if (typeof document === 'undefined') return;

  // ---- the page ----

  // The cell of a row at column col, counting colspans.
  function cellAt(row, col) {
    for (var i = 0, at = 0; i < row.cells.length; i++) {
      at += row.cells[i].colSpan || 1;
      if (at > col) return row.cells[i];
    }
    return null;
  }

  function sortValue(cell) {
    if (!cell) return '';
    var v = cell.getAttribute('data-v');
    return v !== null ? v : cell.textContent.trim();
  }

  function sortTable(table, th, col) {
    var type = th.getAttribute('data-type');
    var now = th.getAttribute('aria-sort');
    var dir = now ? (now === 'ascending' ? -1 : 1) : (type === 'num' ? -1 : 1);
    var heads = table.tHead.querySelectorAll('th[aria-sort]');
    for (var h = 0; h < heads.length; h++) heads[h].removeAttribute('aria-sort');
    th.setAttribute('aria-sort', dir === 1 ? 'ascending' : 'descending');
    for (var b = 0; b < table.tBodies.length; b++) {
      var body = table.tBodies[b];
      var rows = Array.prototype.slice.call(body.rows);
      // ties keep the order the page was written in
      rows.forEach(function (r, i) { if (r.vexoIndex === undefined) r.vexoIndex = i; });
      rows.sort(function (x, y) { return x.vexoIndex - y.vexoIndex; });
      var order = sortOrder(rows.map(function (r) { return sortValue(cellAt(r, col)); }), type, dir);
      var frag = document.createDocumentFragment();
      order.forEach(function (i) { frag.appendChild(rows[i]); });
      body.appendChild(frag);
    }
  }

  function setUpSorting(table) {
    if (!table.tHead || !table.tHead.rows.length) return;
    var row = table.tHead.rows[table.tHead.rows.length - 1];
    for (var i = 0, col = 0; i < row.cells.length; col += row.cells[i].colSpan || 1, i++) {
      var th = row.cells[i], type = th.getAttribute('data-type');
      if (type !== 'num' && type !== 'text') continue;
      var button = document.createElement('button');
      button.type = 'button';
      while (th.firstChild) button.appendChild(th.firstChild);
      th.appendChild(button);
      button.addEventListener('click', sortTable.bind(null, table, th, col));
    }
  }

  function applyFilters(table) {
    var controls = document.querySelectorAll('.filter[data-table], .filter-select[data-table]');
    var filters = [];
    for (var i = 0; i < controls.length; i++) {
      if (controls[i].getAttribute('data-table') !== table.id) continue;
      var key = controls[i].classList.contains('filter') ? 'name' : controls[i].getAttribute('data-key');
      filters.push({ key: key, value: controls[i].value });
    }
    for (var b = 0; b < table.tBodies.length; b++) {
      var rows = table.tBodies[b].rows;
      for (var r = 0; r < rows.length; r++) {
        var row = rows[r];
        row.hidden = !rowPasses(function (k) { return row.getAttribute('data-' + k); }, filters);
      }
    }
  }

  function setUpFilter(control) {
    var table = document.getElementById(control.getAttribute('data-table'));
    if (!table) return;
    var run = applyFilters.bind(null, table);
    control.addEventListener(control.tagName === 'SELECT' ? 'change' : 'input', run);
    if (control.value !== '') run(); // a value the browser kept on going back
  }

  function setUpSearch(form) {
    var input = form.querySelector('#player-search');
    var list = form.querySelector('#search-results');
    if (!input || !list) return;
    var base = form.getAttribute('data-base') || '';
    var players = typeof VEXO_SEARCH !== 'undefined' ? VEXO_SEARCH : [];
    function show() {
      while (list.firstChild) list.removeChild(list.firstChild);
      searchPlayers(players, input.value, 20).forEach(function (p) {
        var href = resolveHref(base, p[1]);
        if (href === null) return;
        var a = document.createElement('a');
        a.href = href;
        a.textContent = p[0];
        list.appendChild(document.createElement('li')).appendChild(a);
      });
      if (!list.firstChild && input.value.trim() !== '') {
        var none = list.appendChild(document.createElement('li'));
        none.className = 'none';
        none.textContent = 'No player found';
      }
    }
    input.addEventListener('input', show);
    // arrow keys move between the search box and the results
    form.addEventListener('keydown', function (e) {
      if (e.key !== 'ArrowDown' && e.key !== 'ArrowUp') return;
      var links = Array.prototype.slice.call(list.querySelectorAll('a'));
      var at = links.indexOf(document.activeElement) + (e.key === 'ArrowDown' ? 1 : -1);
      if (!links.length || at < -1) return;
      e.preventDefault();
      (at === -1 ? input : links[Math.min(at, links.length - 1)]).focus();
    });
    form.addEventListener('submit', function (e) {
      show();
      var first = list.querySelector('a');
      if (first) {
        e.preventDefault();
        window.location.href = first.href;
      }
    });
    if (input.value !== '') show();
  }

  function start() {
    var i, all = document.querySelectorAll('table.sortable');
    for (i = 0; i < all.length; i++) setUpSorting(all[i]);
    all = document.querySelectorAll('.filter[data-table], .filter-select[data-table]');
    for (i = 0; i < all.length; i++) setUpFilter(all[i]);
    all = document.querySelectorAll('form.search');
    for (i = 0; i < all.length; i++) setUpSearch(all[i]);
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})();
