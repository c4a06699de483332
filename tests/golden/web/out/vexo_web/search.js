var VEXO_SEARCH=[["Ren\u003cb\u003e","p/3eae817738bb.html"],
["Иван","p/9a011754ba30.html"],
["Zoë","p/b66119ba3f9c.html"],
["Moss","p/f5a2c3fea273.html"],
["Blu","p/33191347b79a.html"]];
