  // Numbers of path data, and the depth of a 3D column's or bar's top or side face (0 for any
  // other shape): the face's second and third points lie on the prism's back plane, that far
  // right of and up from the first and the fourth (a front face's second point is level with
  // its first).
  const number = /[-+]?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?/gi;
  const numbersOf = (d) => (d.match(number) || []).map(Number);
  const depthOf = (values) => {
    if (values.length !== 8) return 0;
    const d = values[2] - values[0], near = (a, b) => Math.abs(a - b) < 0.02;
    return d > 0 && near(values[1] - values[3], d) && near(values[4] - values[6], d) &&
      near(values[7] - values[5], d) ? d : 0;
  };

  // A stacked chart's series as its legend hides and shows them: in every category the
  // segments above a hidden series move down onto what is left, as the desktop stacks the
  // series shown, and the stacks' totals, which count every series, are away while one is
  // hidden. A point's place is its position across the categories (x, or y on a bar chart) in
  // its scroll window; a 3D face's back points take their front points' places, so a prism
  // moves whole. A segment's height at a place is the span of its front face's points there.
  // Returns null for a chart without stacks.
  const stacksOf = (chart, hits, regionOf) => {
    const stacks = chart.stacks;
    if (!stacks || !stacks.some((k) => k >= 0) || !chart.rest) return null;
    const across = chart.bars ? 1 : 0, along = 1 - across;
    const stacked = (s) => stacks[s] >= 0;
    const scopeOf = (el) => (el.closest("[data-plotara-window]") || svg)
      .getAttribute("data-plotara-window") || "";
    const placeOf = (c) => Math.round(c * 4);
    // The side of the base line a value lies on, +1 away from it the way values grow.
    const sideOf = (s, a) => ((chart.bars ? a - chart.rest[s] : chart.rest[s] - a) >= 0 ? 1 : -1);
    const at = (scope, s, place) => `${scope}|${s}|${place}`;
    // Everything that moves, read once on the first toggle: the shapes with their points'
    // places, the segments' heights, and the labels, markers and hit elements with the place
    // nearest their middle.
    const measure = () => {
      const heights = new Map(); // by scope, series and place: [height, side]
      const placesOf = new Map(); // by scope and series: its places, sorted
      const shapes = [];
      for (const g of svg.querySelectorAll("g[data-plotara-series]")) {
        const s = Number(g.getAttribute("data-plotara-series"));
        if (!stacked(s)) continue;
        const scope = scopeOf(g), key = `${scope}|${s}`;
        for (const el of g.querySelectorAll("path")) {
          const d = el.getAttribute("d") || "";
          if (el.closest("[data-plotara-mark]") || /[^MLZ\d\s.eE+-]/.test(d)) continue;
          const values = numbersOf(d), depth = depthOf(values), places = [];
          for (let j = 0; j + 1 < values.length; j += 2) places.push(placeOf(values[j + across]));
          if (depth) [places[1], places[2]] = [places[0], places[3]];
          shapes.push({ el, s, scope, d, values, places });
          if (depth || !/Z\s*$/i.test(d)) continue; // a line (an area's edge) only moves
          const spans = new Map();
          places.forEach((place, k) => {
            const a = values[2 * k + along], [lo, hi] = spans.get(place) || [a, a];
            spans.set(place, [Math.min(lo, a), Math.max(hi, a)]);
          });
          if (!placesOf.has(key)) placesOf.set(key, []);
          for (const [place, [lo, hi]] of spans) {
            heights.set(at(scope, s, place), [hi - lo, sideOf(s, (lo + hi) / 2)]);
            placesOf.get(key).push(place);
          }
        }
      }
      for (const list of placesOf.values()) list.sort((a, b) => a - b);
      // The place of series s in scope nearest position c across the categories.
      const nearest = (scope, s, c) => {
        const list = placesOf.get(`${scope}|${s}`) || [];
        let lo = 0, hi = list.length;
        while (lo < hi) {
          const mid = (lo + hi) >> 1;
          if (list[mid] < c) lo = mid + 1; else hi = mid;
        }
        const near = [list[lo - 1], list[lo]].filter((p) => p !== undefined);
        return near.length ? near.reduce((a, b) => (Math.abs(b - c) < Math.abs(a - c) ? b : a))
          : null;
      };
      // Value labels and markers move whole, by the shift at their middle's nearest place.
      const seriesOf = (el) =>
        Number(el.closest("g[data-plotara-series]").getAttribute("data-plotara-series"));
      const texts = [...svg.querySelectorAll("g[data-plotara-series] text[data-plotara-label], " +
        "g[data-plotara-series] path[data-plotara-mark], " +
        "g[data-plotara-series] [data-plotara-mark] use")]
        .filter((el) => stacked(seriesOf(el)))
        .map((el) => {
          // Its middle from its attributes (a text in a hidden window has no box): a turned
          // text's place is its anchor; a marker's shape is about its middle.
          const [x, y, size, length] = ["x", "y", "font-size", "textLength"]
            .map((n) => Number(el.getAttribute(n)) || 0);
          const transform = el.getAttribute("transform");
          const box = el.tagName === "path" ? el.getBBox() : null;
          const middle = box ? [box.x + box.width / 2, box.y + box.height / 2]
            : el.tagName === "use" || transform ? [x, y] : [x + length / 2, y - size * 0.35];
          const s = seriesOf(el), scope = scopeOf(el);
          return { el, s, scope, place: nearest(scope, s, placeOf(middle[across])),
            a: middle[along], transform };
        });
      const totals = [...svg.querySelectorAll("text[data-plotara-label]")]
        .filter((el) => !el.closest("g[data-plotara-series]"));
      const spots = hits.filter((h) => h.tagName === "rect" && stacked(regionOf(h).s) &&
        regionOf(h).k !== "legend").map((el) => {
        const v = ["x", "y", "width", "height"].map((n) => Number(el.getAttribute(n)));
        const s = regionOf(el).s, scope = scopeOf(el);
        return { el, s, scope, place: nearest(scope, s, placeOf(v[across] + v[across + 2] / 2)),
          a: v[along] + v[along + 2] / 2, origin: v[along] };
      });
      return { heights, shapes, texts, totals, spots };
    };
    let measured = null;
    const sliding = [];
    // Moves every segment to where the series not hidden stack it; slide(el, from, to) plays
    // a move between two frames where the chart moves (a moving segment's label is away
    // meanwhile).
    return (hidden, slide) => {
      measured = measured || measure();
      const { heights, shapes, texts, totals, spots } = measured;
      for (const m of sliding.splice(0)) m.cancel();
      const gone = [...hidden].filter(stacked);
      // How far the point of series s at place (value a) moves towards the base line.
      const shiftOf = (scope, s, place, a) => {
        const side = (heights.get(at(scope, s, place)) || [0, sideOf(s, a)])[1];
        let by = 0;
        for (const h of gone) {
          const [height, hSide] = heights.get(at(scope, h, place)) || [0, 0];
          if (h < s && stacks[h] === stacks[s] && hSide === side) by += height;
        }
        return by * side * (chart.bars ? -1 : 1);
      };
      for (const { el, s, scope, d, values, places } of shapes) {
        let k = 0;
        const now = d.replace(number, () => {
          const j = k++;
          return j % 2 === along ? values[j] + shiftOf(scope, s, places[j >> 1], values[j])
            : values[j];
        });
        const before = el.getAttribute("d");
        if (now === before) continue;
        el.setAttribute("d", now);
        if (slide) sliding.push(slide(el, { d: `path("${before}")` }, { d: `path("${now}")` }));
      }
      for (const { el, s, scope, place, a, transform } of texts) {
        const by = place === null ? 0 : shiftOf(scope, s, place, a);
        const moved = (across ? `translate(${by} 0)` : `translate(0 ${by})`) +
          (transform ? " " + transform : "");
        if (moved === (el.getAttribute("transform") || "")) continue;
        if (by) el.setAttribute("transform", moved);
        else if (transform) el.setAttribute("transform", transform);
        else el.removeAttribute("transform");
        const away = { visibility: "hidden" };
        if (slide) sliding.push(slide(el, away, away));
      }
      for (const { el, s, scope, place, a, origin } of spots) {
        const by = place === null ? 0 : shiftOf(scope, s, place, a);
        el.setAttribute(along ? "y" : "x", String(origin + by));
      }
      for (const el of totals) {
        const was = el.getAttribute("display") === "none";
        if (gone.length) el.setAttribute("display", "none"); else el.removeAttribute("display");
        if (was && !gone.length && slide) {
          sliding.push(slide(el, { visibility: "hidden" }, { visibility: "hidden" }));
        }
      }
    };
  };
