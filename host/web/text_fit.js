// Button and label texts fit their boxes as a panel host draws them: the text
// keeps one line per line it has, shrinks until it fits, and where even the
// smallest readable size is too wide it ends in an ellipsis, the whole text
// then being the tooltip. Measured in the panel's own pixels, all reads before
// all writes, so a panel of a hundred controls costs two layouts, not a hundred.
"use strict";

const TextFit = (() => {
  const smallestOnScreen = 11;  // px: no text is drawn smaller than this
  const smallestShare = 0.5;    // nor below half its size
  const margin = 0.97;          // widths are read in whole pixels: a sliver more would show an ellipsis

  function room(text) {
    const box = text.parentElement;
    const style = getComputedStyle(box);
    return {
      width: box.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight),
      height: box.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom),
    };
  }

  function overflows(text, space) {
    return text.scrollWidth > text.clientWidth || text.scrollHeight > space.height + 0.5;
  }

  // texts: the .fit elements of one panel; scale: the panel's drawing scale.
  function fit(texts, scale) {
    const shown = [];
    for (const text of texts) {
      text.style.fontSize = "";
      text.classList.remove("clipped");
    }
    for (const text of texts) {
      if (!text.isConnected || text.parentElement.clientWidth === 0) continue;  // not laid out
      const space = room(text);
      const base = parseFloat(getComputedStyle(text).fontSize);
      const natural = {width: text.scrollWidth, height: text.scrollHeight};
      shown.push({text, space, base, natural});
    }
    for (const s of shown) {
      const ratio = Math.min(1, s.space.width / s.natural.width, s.space.height / s.natural.height);
      if (ratio >= 1) continue;
      const smallest = Math.min(s.base, Math.max(smallestOnScreen / scale, s.base * smallestShare));
      s.size = Math.max(smallest, Math.floor(s.base * ratio * margin * 10) / 10);
      s.text.style.fontSize = s.size + "px";
    }
    for (const s of shown) {
      if (s.size === undefined) continue;
      const clipped = overflows(s.text, s.space);
      s.text.classList.toggle("clipped", clipped);
    }
    for (const s of shown) {
      // The tooltip tells what an ellipsis hides; otherwise it is the box's own.
      const box = s.text.parentElement;
      if (box.plainTitle === undefined) box.plainTitle = box.title;
      box.title = s.text.classList.contains("clipped") ? s.text.textContent : box.plainTitle;
    }
  }

  return {fit, smallestOnScreen};
})();
