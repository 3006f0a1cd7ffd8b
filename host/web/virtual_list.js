// A list that draws only the rows in view (and a few either side), so a router
// of 16,384 names costs the page no more than one of twenty. Every row has the
// same height in the list's own pixels: a position is a multiplication, never
// a measurement, and scrolling redraws a few dozen rows at most.
"use strict";

const VirtualList = (() => {
  const overscan = 6;  // rows drawn beyond each edge, so a fast scroll shows no gap

  const resized = new ResizeObserver((entries) => {
    for (const entry of entries) entry.target.virtualList?.redraw();
  });

  // scroller: the element that scrolls; rowHeight: px; viewHeight: its height
  // while it is not laid out yet (hidden, or not in the page);
  // fill(li, position): makes a row show that position. followEnd: while the
  // list is scrolled to its end it stays there as rows are added (a log).
  function create(scroller, rowHeight, viewHeight, fill, followEnd = false) {
    const spacer = document.createElement("div");
    spacer.className = "vl-spacer";
    const rows = document.createElement("ol");
    rows.className = "entries";
    spacer.append(rows);
    scroller.append(spacer);
    let length = 0;
    let drawnFrom = -1;
    let drawnTo = -1;
    let atEnd = followEnd;

    // refill: the rows on view may show what changed. Otherwise a row already
    // drawn keeps its element and contents: a log that grows by a line lays
    // out one row, not all of them.
    function draw(refill) {
      // A hidden list (another pane or script in view) is drawn when it shows.
      if (scroller.isConnected && scroller.clientHeight === 0) {
        drawnFrom = drawnTo = -1;
        return;
      }
      const height = scroller.clientHeight || viewHeight;
      const bottom = Math.max(0, length * rowHeight - height);
      const top = atEnd ? bottom : Math.min(scroller.scrollTop, bottom);
      if (atEnd && scroller.clientHeight && scroller.scrollTop !== top) scroller.scrollTop = top;
      const from = Math.max(0, Math.floor(top / rowHeight) - overscan);
      const to = Math.min(length, Math.ceil((top + height) / rowHeight) + overscan);
      if (!refill && from === drawnFrom && to === drawnTo) return;
      rows.style.transform = "translateY(" + from * rowHeight + "px)";
      if (refill || drawnFrom < 0 || from >= drawnTo || to <= drawnFrom) {
        while (rows.childElementCount < to - from) rows.append(document.createElement("li"));
        while (rows.childElementCount > to - from) rows.lastElementChild.remove();
        let li = rows.firstElementChild;
        for (let position = from; position < to; position++, li = li.nextElementSibling) {
          fill(li, position);
        }
      } else {
        const spare = [];
        for (let p = drawnFrom; p < from; p++) spare.push(rows.removeChild(rows.firstElementChild));
        for (let p = drawnTo; p > to; p--) spare.push(rows.removeChild(rows.lastElementChild));
        const row = (position) => {
          const li = spare.pop() || document.createElement("li");
          fill(li, position);
          return li;
        };
        const before = [];
        for (let position = from; position < drawnFrom; position++) before.push(row(position));
        rows.prepend(...before);
        for (let position = drawnTo; position < to; position++) rows.append(row(position));
      }
      drawnFrom = from;
      drawnTo = to;
    }

    const list = {
      // added: the list only grew at its end since it was drawn.
      setLength(n, added = false) {
        length = n;
        spacer.style.height = n * rowHeight + "px";
        draw(!added);
      },
      redraw() { draw(true); },
      // Brings a position into view unless it is already there.
      reveal(position) {
        const height = scroller.clientHeight || viewHeight;
        const top = position * rowHeight;
        if (top < scroller.scrollTop) scroller.scrollTop = top;
        else if (top + rowHeight > scroller.scrollTop + height) scroller.scrollTop = top + rowHeight - height;
        draw(false);
      },
    };
    scroller.virtualList = list;
    scroller.addEventListener("scroll", () => {
      if (followEnd && scroller.clientHeight) {
        atEnd = scroller.scrollTop + scroller.clientHeight >= length * rowHeight - 2;
      }
      draw(false);
    }, {passive: true});
    resized.observe(scroller);
    return list;
  }

  return {create};
})();
