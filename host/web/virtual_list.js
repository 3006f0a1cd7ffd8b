// A list that draws only the rows in view (and a few either side), so a router
// of 16,384 names costs the page no more than one of twenty. Every row has the
// same height in the list's own pixels: a position is a multiplication, never
// a measurement. Drawing reads no layout either: the list's height comes from
// a ResizeObserver and its scroll position from its scroll events, so a
// change pushed by the server costs no forced layout of the page.
"use strict";

const VirtualList = (() => {
  const overscan = 6;  // rows drawn beyond each edge, so a fast scroll shows no gap

  const resized = new ResizeObserver((entries) => {
    for (const entry of entries) entry.target.virtualList?.resized(entry.contentRect.height);
  });

  // scroller: the element that scrolls; rowHeight: px; viewHeight: its height
  // until it is first laid out; fill(li, position): makes a row show that
  // position. followEnd: while the list is scrolled to its end it stays there
  // as rows are added (a log).
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
    let height = -1;     // as last observed; 0: hidden; -1: not laid out yet
    let scrolled = 0;    // the scroll position, as last seen or set
    let scrollWanted = false;

    // Where the list is scrolled to, put into effect with the next frame (when
    // the page is laid out anyway) rather than now.
    function scrollTo(top) {
      scrolled = top;
      if (scrollWanted) return;
      scrollWanted = true;
      requestAnimationFrame(() => {
        scrollWanted = false;
        if (scroller.scrollTop !== scrolled) scroller.scrollTop = scrolled;
      });
    }

    // refill: the rows on view may show what changed. Otherwise a row already
    // drawn keeps its element and contents: a log that grows by a line lays
    // out one row, not all of them.
    function draw(refill) {
      // A hidden list (another pane or script in view) is drawn when it shows.
      if (height === 0) {
        drawnFrom = drawnTo = -1;
        return;
      }
      const view = height > 0 ? height : viewHeight;
      const bottom = Math.max(0, length * rowHeight - view);
      const top = atEnd ? bottom : Math.min(scrolled, bottom);
      if (top !== scrolled) scrollTo(top);
      const from = Math.max(0, Math.floor(top / rowHeight) - overscan);
      const to = Math.min(length, Math.ceil((top + view) / rowHeight) + overscan);
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
      resized(observed) {
        height = observed;
        draw(true);
        if (height > 0) scrollTo(scrolled);  // a list shown again is where it was
      },
      // The list leaves the page: it is no longer watched for its size.
      release() { resized.unobserve(scroller); },
      // Brings a position into view unless it is already there.
      reveal(position) {
        const view = height > 0 ? height : viewHeight;
        const top = position * rowHeight;
        if (top < scrolled) scrollTo(top);
        else if (top + rowHeight > scrolled + view) scrollTo(top + rowHeight - view);
        draw(false);
      },
    };
    scroller.virtualList = list;
    scroller.addEventListener("scroll", () => {
      if (scrollWanted) return;  // ours, not yet in effect
      scrolled = scroller.scrollTop;
      if (followEnd) atEnd = scrolled + height >= length * rowHeight - 2;
      draw(false);
    }, {passive: true});
    resized.observe(scroller);
    return list;
  }

  return {create};
})();
