  // The draw-in, moved as the desktop moves a chart in. On a category chart every point rises
  // from its value axis' base line (a bar grows from it sideways): the points set off one after
  // another across the plot, the last 0.3 of the time after the first, each easing out over the
  // rest, and a value label shows once its point has arrived. XY points and bubbles grow where
  // they stand and their labels show at the end; a chart without series groups (pies) fades in.
  // Shapes move by their path data and markers by their place, not by transforms: a line keeps
  // its width, a marker its shape, and both run on the main thread (a transform would run on the
  // compositor, ahead of a line's path data whenever the main thread is busy). Every moving
  // element gets frames of the desktop's easing at the same times, so a marker stays on its line.
  const drawIn = (chart) => {
    const total = chart.drawIn * 1000, span = 0.3, easing = "cubic-bezier(0.33, 1, 0.68, 1)";
    const shown = (el) => !el.closest("[display='none']"); // not in a hidden scroll window
    const groups = [...svg.querySelectorAll("g[data-plotara-series]")].filter(shown);
    if (groups.length === 0) {
      svg.animate([{ opacity: 0 }, { opacity: 1 }], { duration: total, easing });
      return;
    }
    const [px, py, pw, ph] = chart.plot || [0, 0, 1, 1];
    const slots = chart.slots || 1, bars = chart.bars, xy = chart.xy;
    // When the point of the category slot at (x, y) sets off, as a share of the time.
    const delayAt = (x, y) => {
      if (xy || slots < 2) return 0;
      const slot = Math.round((bars ? (y - py) / ph : (x - px) / pw) * slots - 0.5);
      return span * Math.min(slots - 1, Math.max(0, slot)) / (slots - 1);
    };
    const travel = xy || slots < 2 ? 1 : 1 - span; // the share of the time a point takes
    const easeOut = (t) => 1 - (1 - Math.min(1, Math.max(0, t))) ** 3;
    // Where the point of the slot at (x, y) has got to at time t (0 to 1), 0 to 1.
    const shareAt = (t, x, y) => easeOut((t - delayAt(x, y)) / travel);
    const frameCount = 24;
    const play = (el, frameAt) => {
      const frames = [];
      for (let k = 0; k <= frameCount; ++k) frames.push(frameAt(k / frameCount));
      el.animate(frames, { duration: total });
    };
    const centre = (el) => {
      const b = el.getBBox();
      return [b.x + b.width / 2, b.y + b.height / 2];
    };
    const number = /[-+]?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?/gi;
    // Path data of moves and straight lines with each point part way from its rest.
    const risen = (d, values, rest, t) => {
      let k = 0;
      return `path("${d.replace(number, () => {
        const j = k++, x = values[j & ~1], y = values[j | 1], v = values[j];
        return (j & 1) === (bars ? 0 : 1) ? rest + (v - rest) * shareAt(t, x, y) : v;
      })}")`;
    };
    // Path data of moves, lines and arcs moved by (dx, dy).
    const shifted = (d, dx, dy) => {
      let command = "", k = 0;
      return `path("${d.replace(/[A-Za-z]|[-+]?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?/g, (t) => {
        if (/^[A-Za-z]/.test(t)) {
          command = t;
          k = 0;
          return t;
        }
        const j = command === "A" ? k++ % 7 - 5 : k++ % 2; // an arc's end point is its last two
        return j === 0 ? Number(t) + dx : j === 1 ? Number(t) + dy : t;
      })}")`;
    };
    const rise = (el, rest) => {
      const d = el.getAttribute("d") || "";
      const values = (d.match(number) || []).map(Number);
      if (/[^MLZ\d\s.eE+-]/.test(d) || values.length % 2) {
        const [x, y] = centre(el);
        return play(el, (t) => ({ opacity: shareAt(t, x, y) }));
      }
      play(el, (t) => ({ d: risen(d, values, rest, t) }));
    };
    // A pie sweeps round from its first slice's start, through a mask: a ring as wide as the
    // picture whose dash grows with the desktop's easing, squashed as the pie is (so the front
    // meets a slice's edge when the desktop's sweep does). A label and its line show when the
    // front has passed the end of their slice.
    const sweep = (pie, group) => {
      const { c: [cx, cy], ys, a: slices } = pie;
      const start = slices[0][0], whole = slices[slices.length - 1][1] - start, turn = 2 * Math.PI;
      const box = svg.viewBox.baseVal, reach = 2 * Math.max(box.width, box.height) / Math.min(ys, 1);
      const ns = "http://www.w3.org/2000/svg";
      const mask = document.createElementNS(ns, "mask"), ring = document.createElementNS(ns, "circle");
      mask.id = figure.id + "-sweep";
      for (const [name, value] of Object.entries({ r: reach / 2, fill: "none", stroke: "#fff",
        "stroke-width": reach, transform: `translate(${cx} ${cy}) scale(1 ${ys}) rotate(${start * 180 / Math.PI})` }))
        ring.setAttribute(name, value);
      mask.appendChild(ring);
      svg.insertBefore(mask, svg.firstChild);
      group.setAttribute("mask", `url(#${mask.id})`);
      const round = Math.PI * reach;
      play(ring, (t) => ({ strokeDasharray: `${round * whole / turn * easeOut(t)} ${round}` }));
      ring.getAnimations()[0].finished.then(() => {
        group.removeAttribute("mask");
        mask.remove();
      });
      // When the front passes the end of the slice that holds the direction of (x, y). The
      // lines and labels follow the pie: a label's line starts at its slice.
      const passing = (x, y) => {
        const a = start + ((Math.atan2((y - cy) / ys, x - cx) - start) % turn + turn) % turn;
        const slice = slices.find(([a0, a1]) => a >= a0 && a <= a1) || [start, start + whole];
        return total * (1 - Math.cbrt(1 - Math.min(1, (slice[1] - start) / whole)));
      };
      let when = 0;
      for (let el = group.nextElementSibling; el && !el.matches(".plotara-hits"); el = el.nextElementSibling) {
        if (el.tagName === "path" && el.getAttribute("fill") === "none") {
          when = passing(...(el.getAttribute("d").match(number) || []).map(Number)); // its start
        } else if (el.matches("text[data-plotara-label]")) {
          when = when || passing(...centre(el));
        } else {
          when = 0;
          continue;
        }
        el.animate([{ visibility: "hidden" }, { visibility: "hidden" }], { duration: when });
        if (el.tagName === "text") when = 0;
      }
    };
    // A long line is a <use> of pieces kept in <defs>, and a use does not follow its pieces'
    // motion: while the line rises, copies of them with the use's looks stand in for it.
    const standIn = (use, rest) => {
      const target = document.getElementById(use.href.baseVal.slice(1));
      if (!target) return;
      const pieces = target.tagName === "path" ? [target] : [...target.querySelectorAll("path")];
      const copies = pieces.map((piece) => {
        const copy = piece.cloneNode();
        copy.removeAttribute("id");
        for (const a of use.attributes) {
          if (!/href|^[xy]$/.test(a.name)) copy.setAttribute(a.name, a.value);
        }
        use.before(copy);
        rise(copy, rest);
        return copy;
      });
      use.style.display = "none";
      Promise.all(copies.map((c) => c.getAnimations()[0].finished)).then(() => {
        for (const c of copies) c.remove();
        use.style.display = "";
      });
    };
    // A marker moves whole with its point.
    const carry = (el, rest) => {
      const [x, y] = centre(el), by = rest - (bars ? x : y), axis = bars ? "x" : "y";
      const left = (t) => by * (1 - shareAt(t, x, y)); // the way still to go
      if (el.tagName === "use") {
        const at = Number(el.getAttribute(axis));
        return play(el, (t) => ({ [axis]: `${at + left(t)}px` }));
      }
      const d = el.getAttribute("d");
      play(el, (t) => ({ d: shifted(d, bars ? left(t) : 0, bars ? 0 : left(t)) }));
    };
    if (chart.pie) return sweep(chart.pie, groups[0]);
    for (const el of [...svg.querySelectorAll("text[data-plotara-label]")].filter(shown)) {
      const [x, y] = centre(el);
      el.animate([{ visibility: "hidden" }, { visibility: "hidden" }],
        { duration: (delayAt(x, y) + travel) * total });
    }
    for (const g of groups) {
      const rest = (chart.rest || [])[g.getAttribute("data-plotara-series")] ??
        (bars ? px : py + ph);
      for (const el of g.querySelectorAll("path, use")) {
        const mark = el.closest("[data-plotara-mark]");
        if (el.closest("defs")) {
          continue; // a shape drawn by the elements that use it
        } else if (xy && (mark || /Z\s*$/.test(el.getAttribute("d") || ""))) {
          const [x, y] = centre(el);
          Object.assign(el.style, { transformBox: "view-box", transformOrigin: `${x}px ${y}px` });
          el.animate([{ transform: "scale(0)" }, { transform: "none" }], { duration: total, easing });
        } else if (mark) {
          carry(el, rest);
        } else if (!xy) {
          (el.tagName === "path" ? rise : standIn)(el, rest);
        } else if (el.tagName === "path") {
          el.animate([{ opacity: 0 }, { opacity: 1 }], { duration: total, easing });
        }
      }
    }
  };
