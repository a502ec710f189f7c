  // How the chart moves, as the desktop moves it: its draw-in, and a series leaving or coming
  // back when its legend entry is toggled.
  //
  // The draw-in: on a category chart every point rises from its value axis' base line (a bar
  // grows from it sideways): the points set off one after another across the plot, the last
  // 0.3 of the time after the first, each easing out over the rest, and a value label shows
  // once its point has arrived. XY points grow where they stand, bubbles one after another by
  // their place in their series; a pie sweeps round. A toggled series shrinks to its base line
  // in 0.3 s (XY points to nothing) and grows back the same way; its value labels are away
  // meanwhile. Shapes move by their path data and markers by their place, not by
  // transforms: a line keeps its width, a marker its shape, and both run on the main thread (a
  // transform would run on the compositor, ahead of a line's path data whenever the main thread
  // is busy). Every moving element gets frames of the desktop's easing at the same times, so a
  // marker stays on its line. indexAt(x, y) is the place in its series of the XY point drawn
  // nearest (x, y).
  const motionOf = (chart, indexAt) => {
    const total = chart.drawIn * 1000, span = 0.3, easing = "cubic-bezier(0.33, 1, 0.68, 1)";
    const shown = (el) => !el.closest("[display='none']"); // not in a hidden scroll window
    const groups = [...svg.querySelectorAll("g[data-plotara-series]")].filter(shown);
    const [px, py, pw, ph] = chart.plot || [0, 0, 1, 1];
    const slots = chart.slots || 1, bars = chart.bars, xy = chart.xy;
    // When the point at (x, y) sets off in the draw-in, as a share of it: by its category slot,
    // or a bubble by its place in its series.
    const delayAt = (x, y) => {
      if (slots < 2) return 0;
      const slot = xy ? indexAt(x, y)
        : Math.round((bars ? (y - py) / ph : (x - px) / pw) * slots - 0.5);
      return span * Math.min(slots - 1, Math.max(0, slot)) / (slots - 1);
    };
    const travel = slots < 2 ? 1 : 1 - span; // the share of the draw-in a point takes
    const easeOut = (t) => 1 - (1 - Math.min(1, Math.max(0, t))) ** 3;
    // How far the point of the slot at (x, y) is on its way at time t (0 to 1) of a motion, 0
    // to 1: in the draw-in, and in a series coming back (in) or leaving (out).
    const drawnIn = (t, x, y) => easeOut((t - delayAt(x, y)) / travel);
    const comingIn = (t) => easeOut(t), goingOut = (t) => 1 - easeOut(t);
    const toggleTime = 300;
    // Every motion is drawn through the same times, between which the browser goes in straight
    // lines: frameCount + 1 even ones, and where the categories are no more, the moment each
    // sets off (a point turns there from standing to its fastest, which frames on either side
    // would cut short: a line's point ran up to 1/24 of the draw-in ahead).
    const frameCount = 24, even = [...Array(frameCount + 1).keys()].map((k) => k / frameCount);
    const times = slots < 2 || slots > frameCount ? even : [...new Set(even.concat(
      [...Array(slots).keys()].map((k) => span * k / (slots - 1))))].sort((a, b) => a - b);
    const piecewise = CSS.supports("animation-timing-function", "linear(0, 1)");
    // Plays frames of the element at those times of a motion of `ms`.
    const play = (el, ms, frameAt) =>
      el.animate(times.map((t) => ({ ...frameAt(t), offset: t })), { duration: ms });
    // Moves an element between two frames (at shares 0 and 1) as share(t) goes: the two frames
    // with an easing through share at the same times (a line's point and its marker keep
    // together), or all the frames where a browser has no such easing. An element that is on
    // no line passes its setting-off time (`from`) too, where the times do not hold it.
    const between = (el, ms, share, frameAt, from = 0) => {
      if (!piecewise) return play(el, ms, (t) => frameAt(share(t)));
      const at = times.includes(from) ? times : [...times, from].sort((a, b) => a - b);
      const easing = `linear(${at.map((t) => `${share(t)} ${t * 100}%`).join(", ")})`;
      return el.animate([frameAt(0), frameAt(1)], { duration: ms, easing });
    };
    const centre = (el) => {
      const b = el.getBBox();
      return [b.x + b.width / 2, b.y + b.height / 2];
    };
    // Path data of moves and straight lines with each point part way (share) from its rest: a
    // prism face's back points from the back plane's, so the face keeps its depth on the way.
    const risen = (d, values, rest, share) => {
      const depth = depthOf(values), back = bars ? rest + depth : rest - depth;
      let k = 0;
      return `path("${d.replace(number, () => {
        const j = k++, x = values[j & ~1], y = values[j | 1], v = values[j];
        const from = depth && (j >> 1 === 1 || j >> 1 === 2) ? back : rest;
        return (j & 1) === (bars ? 0 : 1) ? from + (v - from) * share(x, y) : v;
      })}")`;
    };
    // Path data of moves, lines and arcs moved by (dx, dy).
    const commandOrNumber = new RegExp(`[A-Za-z]|${number.source}`, "g");
    const shifted = (d, dx, dy) => {
      let command = "", k = 0;
      return `path("${d.replace(commandOrNumber, (t) => {
        if (/^[A-Za-z]/.test(t)) {
          command = t;
          k = 0;
          return t;
        }
        const j = command === "A" ? k++ % 7 - 5 : k++ % 2; // an arc's end point is its last two
        return j === 0 ? Number(t) + dx : j === 1 ? Number(t) + dy : t;
      })}")`;
    };
    // The movers: each moves element el, whose box has its centre at (x, y), in a motion of
    // `ms` in which the point at (x, y) is way(t, x, y) of its way at time t (0 to 1); rest is
    // the series' base line. Each returns the animations it made. The boxes are all read
    // before any animation is made: a box read after one would have the page laid out again.
    //
    // A shape of moves and lines rises point by point (another fades in): within one category
    // between two frames, a line across categories by frames of each point's own way.
    const rise = (el, [x, y], rest, ms, way) => {
      const d = el.getAttribute("d") || "";
      const values = (d.match(number) || []).map(Number);
      const share = (t) => way(t, x, y);
      if (/[^MLZ\d\s.eE+-]/.test(d) || values.length % 2) return fade(el, [x, y], rest, ms, way);
      const slots = new Set();
      for (let j = 0; j < values.length; j += 2) slots.add(delayAt(values[j], values[j + 1]));
      if (slots.size <= 1 || depthOf(values)) {
        return [between(el, ms, share, (f) => ({ d: risen(d, values, rest, () => f) }),
          delayAt(x, y))];
      }
      return [play(el, ms, (t) => ({ d: risen(d, values, rest, (x, y) => way(t, x, y)) }))];
    };
    // A marker moves whole with its point.
    const carry = (el, [x, y], rest, ms, way) => {
      const by = rest - (bars ? x : y), axis = bars ? "x" : "y", share = (t) => way(t, x, y);
      if (el.tagName === "use") {
        const at = Number(el.getAttribute(axis));
        return [between(el, ms, share, (f) => ({ [axis]: `${at + by * (1 - f)}px` }))];
      }
      const d = el.getAttribute("d");
      return [between(el, ms, share, (f) => ({
        d: shifted(d, bars ? by * (1 - f) : 0, bars ? 0 : by * (1 - f))
      }))];
    };
    // An XY point or bubble grows where it stands.
    const grow = (el, [x, y], rest, ms, way) => {
      Object.assign(el.style, { transformBox: "view-box", transformOrigin: `${x}px ${y}px` });
      return [between(el, ms, (t) => way(t, x, y), (f) => ({ transform: `scale(${f})` }),
        delayAt(x, y))];
    };
    const fade = (el, [x, y], rest, ms, way) =>
      [between(el, ms, (t) => way(t, x, y), (f) => ({ opacity: f }), delayAt(x, y))];
    // A long line is a <use> of pieces kept in <defs>, and a use does not follow its pieces'
    // motion: while the line moves, copies of them with the use's looks stand in for it.
    const standIn = (use, at, rest, ms, way) => {
      const target = document.getElementById(use.href.baseVal.slice(1));
      if (!target) return [];
      const pieces = target.tagName === "path" ? [target] : [...target.querySelectorAll("path")];
      const copies = pieces.map((piece) => {
        const copy = piece.cloneNode();
        copy.removeAttribute("id");
        copy.setAttribute("data-plotara-stand-in", "");
        for (const a of use.attributes) {
          if (!/href|^[xy]$/.test(a.name)) copy.setAttribute(a.name, a.value);
        }
        use.before(copy);
        return copy;
      });
      // The use is held while its copies move: a motion that stops them puts it back too, and a
      // motion begun since keeps it hidden.
      const moves = copies.flatMap((copy) => rise(copy, at, rest, ms, way))
        .concat(use.animate([{}, {}], { duration: ms }));
      use.style.display = "none";
      Promise.allSettled(moves.map((m) => m.finished)).then(() => {
        for (const c of copies) c.remove();
        if (!use.getAnimations().length) use.style.display = "";
      });
      return moves;
    };
    // Moves the series groups over ms: every element's share at time t (0 to 1) is
    // way(t, x, y), for the point at (x, y). Returns the element animations.
    const moveSeries = (parts, ms, way) => {
      const plan = [];
      for (const g of parts) {
        const rest = (chart.rest || [])[g.getAttribute("data-plotara-series")] ??
          (bars ? px : py + ph);
        for (const el of g.querySelectorAll("path, use")) {
          const mark = el.closest("[data-plotara-mark]");
          // A shape drawn by the elements that use it, or a copy of one standing in for a use.
          if (el.closest("defs") || el.hasAttribute("data-plotara-stand-in")) continue;
          const move = xy && (mark || /Z\s*$/.test(el.getAttribute("d") || "")) ? grow
            : mark ? carry : !xy ? (el.tagName === "path" ? rise : standIn)
              : el.tagName === "path" ? fade : null;
          if (move) plan.push([move, el, move === standIn ? [0, 0] : centre(el), rest]);
        }
      }
      // A 3D column's or bar's top and side faces reach into the next category's slot by their
      // depth: they set off with the front face drawn after them.
      for (let k = plan.length - 2; k >= 0; --k) {
        const [move, el] = plan[k];
        if (move === rise && depthOf(numbersOf(el.getAttribute("d") || ""))) {
          plan[k][2] = plan[k + 1][2];
        }
      }
      return plan.flatMap(([move, el, at, rest]) => move(el, at, rest, ms, way));
    };
    // Hides a text until `ms` have passed.
    const hold = (el, ms) => el.animate([{ visibility: "hidden" }, { visibility: "hidden" }],
      { duration: ms });
    // A pie sweeps round from its first slice's start, through a mask: a ring as wide as the
    // picture whose dash grows with the desktop's easing, squashed as the pie is (so the front
    // meets a slice's edge when the desktop's sweep does); a flat one opens like a fan (fan). A
    // label and its line show when the front has passed the end of their slice.
    const sweep = (pie, group) => {
      const { c: [cx, cy], ys, a: slices } = pie;
      const start = slices[0][0], whole = slices[slices.length - 1][1] - start;
      const turn = 2 * Math.PI, box = svg.viewBox.baseVal;
      // When the front passes the end of the slice that holds the direction of (x, y). The
      // lines and labels follow the pie: a label's line starts at its slice.
      const passing = (x, y) => {
        const a = start + ((Math.atan2((y - cy) / ys, x - cx) - start) % turn + turn) % turn;
        const slice = slices.find(([a0, a1]) => a >= a0 && a <= a1) || [start, start + whole];
        return total * (1 - Math.cbrt(1 - Math.min(1, (slice[1] - start) / whole)));
      };
      // Every label's time is found before any animation is made (a box read after one would
      // have the page laid out again).
      const held = [];
      let when = 0;
      for (let el = group.nextElementSibling; el && !el.matches(".plotara-hits");
        el = el.nextElementSibling) {
        if (el.tagName === "path" && el.getAttribute("fill") === "none") {
          when = passing(...numbersOf(el.getAttribute("d"))); // its start
        } else if (el.matches("text[data-plotara-label]")) {
          when = when || passing(...centre(el));
        } else {
          when = 0;
          continue;
        }
        held.push([el, when]);
        if (el.tagName === "text") when = 0;
      }
      const holdLabels = () => held.forEach(([el, ms]) => hold(el, ms));
      if (ys === 1 && fan(pie, group, holdLabels)) return;
      holdLabels();
      wedge(group, "sweep", 2 * Math.max(box.width, box.height) / Math.min(ys, 1),
        `translate(${cx} ${cy}) scale(1 ${ys}) rotate(${start * 180 / Math.PI})`, whole / turn);
    };
    // Masks el through the draw-in by a ring as wide as reach (placed by transform) whose dash
    // grows with the desktop's easing to `share` of the turn: a wedge opening from the ring's
    // start.
    const wedge = (el, name, reach, transform, share) => {
      const ns = "http://www.w3.org/2000/svg", round = Math.PI * reach;
      const mask = document.createElementNS(ns, "mask");
      const ring = document.createElementNS(ns, "circle");
      mask.id = `${figure.id}-${name}`;
      for (const [key, value] of Object.entries({ r: reach / 2, fill: "none", stroke: "#fff",
        "stroke-width": reach, transform })) ring.setAttribute(key, value);
      mask.appendChild(ring);
      svg.insertBefore(mask, svg.firstChild);
      el.setAttribute("mask", `url(#${mask.id})`);
      play(ring, total, (t) => ({ strokeDasharray: `${round * share * easeOut(t)} ${round}` }))
        .finished.then(() => {
          el.removeAttribute("mask");
          mask.remove();
        });
    };
    // A flat pie or doughnut opens like a fan, as the desktop's does: the slices' angles grow
    // together from the first slice's start, each slice turning about its own centre (a slice
    // pulled out of the pie stays as far out the same way) to where its angle now starts while
    // a wedge from its own start cuts it to its share of its angle. Labels show as the sweep
    // passes (hold). False where the group is not one path a slice: the pie then sweeps.
    const fan = (pie, group, hold) => {
      const { a: slices, o: centres } = pie;
      const paths = [...group.children].filter((el) => el.tagName === "path");
      if (!centres || paths.length !== slices.length) return false;
      const start = slices[0][0], box = svg.viewBox.baseVal, degrees = 180 / Math.PI;
      hold();
      paths.forEach((el, k) => {
        const [a0, a1] = slices[k], [ox, oy] = centres[k];
        Object.assign(el.style, { transformBox: "view-box", transformOrigin: `${ox}px ${oy}px` });
        wedge(el, `fan-${k}`, 2 * Math.max(box.width, box.height),
          `translate(${ox} ${oy}) rotate(${a0 * degrees})`, (a1 - a0) / (2 * Math.PI));
        play(el, total, (t) => ({
          transform: `rotate(${-(a0 - start) * (1 - easeOut(t)) * degrees}deg)`
        }));
      });
      return true;
    };
    const labelsOf = (root) =>
      [...root.querySelectorAll("text[data-plotara-label]")].filter(shown);
    const toggling = new Map(); // by series: the motion under way
    return {
      drawIn: () => {
        if (groups.length === 0) {
          svg.animate([{ opacity: 0 }, { opacity: 1 }], { duration: total, easing });
        } else if (chart.pie) {
          sweep(chart.pie, groups[0]);
        } else {
          const labels = labelsOf(svg), at = labels.map(centre);
          labels.forEach((el, k) => hold(el, (delayAt(...at[k]) + travel) * total));
          moveSeries(groups, total, drawnIn);
        }
      },
      // Moves the groups of a series (shown already when it comes back) out or in, then calls
      // done; its value labels are away meanwhile. A motion of the series under way stops where
      // it is, and the new one starts from the still picture. A stacked series fades, each
      // group as one picture (a 3D column's faces do not show through one another): the
      // segments above it slide onto or off its place meanwhile (slide).
      toggle: (series, parts, show, done) => {
        for (const m of toggling.get(series) || []) m.cancel();
        const groups = parts.filter((g) => g.matches("g[data-plotara-series]") && shown(g));
        const way = show ? comingIn : goingOut;
        const moves = (chart.stacks || [])[series] >= 0
          ? groups.map((g) => between(g, toggleTime, way, (f) => ({ opacity: f })))
          : moveSeries(groups, toggleTime, way);
        for (const g of groups) moves.push(...labelsOf(g).map((el) => hold(el, toggleTime)));
        toggling.set(series, moves);
        Promise.all(moves.map((m) => m.finished)).then(done, () => {});
      },
      // Moves an element between two frames as a toggled series moves.
      slide: (el, from, to) => el.animate([from, to], { duration: toggleTime, easing })
    };
  };
