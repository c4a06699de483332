var VEXO_SEARCH=[["Ren\u003cb\u003e","player_3eae817738bb.html"],
["Иван","player_9a011754ba30.html"],
["Zoë","player_b66119ba3f9c.html"],
["Moss","player_f5a2c3fea273.html"],
["Blu","player_33191347b79a.html"]];
