// The interaction of a Plotara chart page, for the <figure class="plotara"> that holds this
// script: tool texts, links and drill-down events, keyboard, legend toggling, scrolling a scroll
// chart's window, zooming a line or scatter chart, the draw-in and the data table (made from the
// page data when first shown).
// The chart's data is the JSON beside it; the script names no id of its own, so one hash allows
// it for every chart of a page (docs/web.md).
(() => {
  "use strict";
  const figure = document.currentScript && document.currentScript.closest("figure.plotara");
  if (!figure) return;
  const svg = figure.querySelector("svg");
  const tip = figure.querySelector("[role='tooltip']");
  // Looks are set through the style objects: a strict policy allows them, not style attributes.
  Object.assign(figure.style, { position: "relative", display: "inline-block", margin: "0" });
  Object.assign(tip.style, {
    position: "absolute", pointerEvents: "none", whiteSpace: "pre", maxWidth: "100%",
    background: "#ffffe1", color: "#000", border: "1px solid #767676", padding: "2px 4px",
    font: "12px sans-serif", boxSizing: "border-box", zIndex: "1"
  });
  const caption = figure.querySelector("figcaption");
  Object.assign(caption.style, {
    position: "absolute", width: "1px", height: "1px", overflow: "hidden",
    clip: "rect(0 0 0 0)", whiteSpace: "nowrap"
  });
  svg.style.display = "block";
  const data = figure.querySelector("script[type='application/json']");

  // #include "stacks.js"
  // #include "motion.js"

  // Everything the chart answers with, made from its data. The figure is marked ready after.
  const setUp = () => {
    const chart = JSON.parse(data.textContent);
    const hits = Array.from(svg.querySelectorAll("[data-plotara-hit]"));
    // The regions by hit index. A run of points (a dense chart's, written as data) stands for "n"
    // regions from its own index; "j" is the linked point its one keyboard element is on.
    const byHit = new Map(), runs = [];
    let count = 0;
    for (const region of chart.regions) {
      region.at = count;
      byHit.set(count, region);
      count += region.n || 1;
      if (region.n) {
        region.j = Number(Object.keys(region.links)[0] || 0);
        runs.push(region);
      }
    }
    const regionOf = (el) => byHit.get(Number(el.getAttribute("data-plotara-hit")));
    const hidden = new Set(); // series the legend hid

    // Point j of a run as a region of its own, its tool text the document's or the usual one.
    const pointOf = (run, j) => {
      const l = run.l[j], v = run.v[j];
      return Object.assign({
        k: run.k, s: run.s, p: run.p + j, l, v, at: run.at + j,
        x: run.xy[2 * j], y: run.xy[2 * j + 1],
        t: Object.hasOwn(run.t, j) ? run.t[j] : run.lead + (l ? l + ", " : "") + v
      }, run.links[j]);
    };
    // The name a screen reader reads, as the desktop widget names its elements.
    const nameOf = (p) => !p.t ? (p.l ? p.l + ": " + p.v : p.v)
      : p.l && p.t.startsWith(p.l + ", ") ? p.l + ": " + p.t.slice(p.l.length + 2) : p.t;
    // The topmost region under the pointer, as the desktop finds it: the element there, or a
    // point of a run drawn above it.
    const regionAt = (event) => {
      const el = event.target.closest && event.target.closest("[data-plotara-hit]");
      let found = el && !regionOf(el).n ? { region: regionOf(el), el } : null;
      const m = runs.length ? svg.getScreenCTM() : null;
      if (!m) return found;
      const at = new DOMPoint(event.clientX, event.clientY).matrixTransform(m.inverse());
      const [ax, bx, ay, by] = zoomMap(), plot = zoomPlot();
      for (const run of runs) {
        if (hidden.has(run.s) || (found && found.region.at > run.at + run.n) ||
            (run.w !== undefined && run.w !== shownStart())) continue;
        for (let j = run.n - 1, rr = run.r * run.r; j >= 0; --j) {
          const x = ax * run.xy[2 * j] + bx, y = ay * run.xy[2 * j + 1] + by;
          if (shown && !inside(plot, x, y)) continue; // the window leaves it out
          const dx = x - at.x, dy = y - at.y;
          if (dx * dx + dy * dy > rr) continue;
          if (!found || found.region.at < run.at + j) found = { region: pointOf(run, j) };
          break;
        }
      }
      return found;
    };
    const reduced = matchMedia("(prefers-reduced-motion: reduce)").matches;


    // The tool text next to a point of the figure, kept inside the chart's box.
    const showTip = (text, x, y) => {
      if (!text) return hideTip();
      tip.textContent = text;
      tip.hidden = false;
      const box = svg.getBoundingClientRect(), own = figure.getBoundingClientRect();
      const left = Math.min(x + 12, box.right - tip.offsetWidth), top =
        y + 18 + tip.offsetHeight > box.bottom ? y - 8 - tip.offsetHeight : y + 18;
      tip.style.left = Math.max(box.left, left) - own.left + "px";
      tip.style.top = Math.max(box.top, top) - own.top + "px";
    };
    const hideTip = () => { tip.hidden = true; };

    const follow = (region) => {
      if (region.call) {
        figure.dispatchEvent(new CustomEvent("plotara-drilldown", {
          bubbles: true, detail: { action: region.call.action, parameter: region.call.parameter }
        }));
      } else if (region.href) {
        window.open(region.href, "_blank", "noopener,noreferrer");
      }
    };

    // A legend entry shows and hides its series' groups and hit elements; the axes stay. Where
    // the chart moves, the series shrinks out to its base line and grows back as on the desktop.
    const moves = chart.drawIn > 0 && !reduced && typeof svg.animate === "function" ?
      motionOf(chart, (x, y) => {
        let best = Infinity, index = 0;
        for (const h of hits) {
          if (h.tagName !== "circle") continue;
          const d = Math.hypot(h.cx.baseVal.value - x, h.cy.baseVal.value - y);
          if (d < best) [best, index] = [d, regionOf(h).p];
        }
        return index;
      }) : null;
    const restack = stacksOf(chart, hits, regionOf);
    const toggle = (el) => {
      if (el.getAttribute("aria-disabled") === "true") return;
      const series = regionOf(el).s, show = el.getAttribute("aria-checked") !== "true";
      if (show) hidden.delete(series); else hidden.add(series);
      el.setAttribute("aria-checked", String(show));
      el.setAttribute("fill", show ? "#000" : "#fff");
      el.setAttribute("fill-opacity", show ? "0" : "0.6");
      const groups = [...svg.querySelectorAll(`[data-plotara-series='${series}']`)];
      const display = (parts) => {
        for (const part of parts) {
          if (show) part.removeAttribute("display"); else part.setAttribute("display", "none");
        }
      };
      display(hits.filter((h) => regionOf(h).s === series && regionOf(h).k !== "legend"));
      if (restack) restack(hidden, moves && moves.slide);
      if (show || !moves) display(groups);
      if (moves) moves.toggle(series, groups, show, () => show || display(groups));
      if (shown) placeHits();
    };

    // A run's keyboard element follows the point it is on.
    const current = (el) => regionOf(el).n ? pointOf(regionOf(el), regionOf(el).j) : regionOf(el);
    const act = (el, event) => {
      if (el.getAttribute("role") === "checkbox") toggle(el);
      else if (/^scroll/.test(regionOf(el).k)) scrollPart(regionOf(el), el, event);
      else follow(current(el));
    };
    const showFocus = (el) => {
      const box = el.getBoundingClientRect();
      showTip(current(el).t, box.left + box.width / 2, box.top + box.height / 2);
    };
    // Arrow keys move a run's element to the next or the previous linked point.
    const rove = (el, event) => {
      const run = regionOf(el), keys = Object.keys(run.links).map(Number);
      const to = keys[keys.indexOf(run.j) + (/Right|Down/.test(event.key) ? 1 : -1)];
      if (to === undefined) return;
      event.preventDefault();
      run.j = to;
      const p = pointOf(run, to);
      place(el, p.x, p.y);
      el.setAttribute("aria-label", nameOf(p));
      showFocus(el);
    };

    // A scroll chart: the page holds its window laid out at each start it offers, as the desktop
    // shows it there, and shows one at a time. The wheel, the arrow keys and the scroll bar's
    // buttons step a category, a drag in the plot moves it along with the pointer, as on the
    // desktop. Nothing moves in between, so there is nothing to leave out for reduced motion.
    const scroll = chart.scroll;
    let at = scroll ? scroll.starts.indexOf(scroll.at) : 0, press = null, dragged = false;
    const shownStart = () => scroll && scroll.starts[at];
    const bar = svg.querySelector("[role='scrollbar']");
    const scrollTo = (index) => {
      const to = Math.max(0, Math.min(scroll.starts.length - 1, index));
      if (to === at) return false;
      const focused = document.activeElement;
      at = to;
      for (const g of svg.querySelectorAll("[data-plotara-window]")) {
        if (Number(g.getAttribute("data-plotara-window")) === shownStart()) {
          g.removeAttribute("display");
        } else {
          g.setAttribute("display", "none");
        }
      }
      bar.setAttribute("aria-valuenow", String(shownStart()));
      hideTip();
      // An element of the window left behind hands the focus on to the same element of the
      // window shown, or else to the scroll bar.
      if (focused && focused !== bar && focused.closest("[data-plotara-window]")) {
        const was = regionOf(focused), same = hits.find((h) => h.hasAttribute("tabindex") &&
          regionOf(h).w === shownStart() && regionOf(h).s === was.s && regionOf(h).p === was.p);
        (same || bar).focus();
      }
      return true;
    };
    // The offered start nearest to a category (a long chart's page offers every few).
    const nearest = (start) => scroll.starts.reduce((best, s, i) =>
      Math.abs(s - start) < Math.abs(scroll.starts[best] - start) ? i : best, 0);
    const scrollBy = (categories) => {
      const to = nearest(shownStart() + categories);
      return scrollTo(to !== at ? to : at + Math.sign(categories));
    };
    const inSvg = (event) =>
      new DOMPoint(event.clientX, event.clientY).matrixTransform(svg.getScreenCTM().inverse());
    // A click on the track pages towards it, from the thumb's middle.
    const scrollPart = (region, el, event) => {
      if (region.k !== "scroll-track") return scrollBy(region.k === "scroll-left" ? -1 : 1);
      if (!event) return false;
      const box = el.getBBox(), middle = box.x + box.width *
        (shownStart() + scroll.visible / 2) / scroll.total;
      return scrollBy(inSvg(event).x < middle ? -scroll.visible : scroll.visible);
    };
    const keySteps = scroll && { ArrowLeft: -1, ArrowRight: 1, PageUp: -scroll.visible,
      PageDown: scroll.visible, Home: -scroll.total, End: scroll.total };
    // Dragging the plot: the window follows the pointer by whole categories.
    const drag = (event) => {
      if (!press || !(event.buttons & 1)) return (press = null);
      const dx = inSvg(event).x - press.x;
      if (!dragged && Math.abs(dx) < 4) return false;
      if (!dragged) svg.setPointerCapture(event.pointerId);
      dragged = true;
      svg.style.cursor = "grabbing";
      scrollTo(nearest(press.start - Math.round(dx / (chart.plot[2] / scroll.visible))));
      return true;
    };
    if (scroll) {
      // A drag would select the texts it passes over.
      svg.style.userSelect = tip.style.userSelect = "none";
      // A wheel's notch steps a category; a touchpad's small moves add up to one. At an end the
      // page scrolls.
      let wheeled = 0;
      svg.addEventListener("wheel", (event) => {
        const delta = (event.deltaY || event.deltaX) * [1, 40, 800][event.deltaMode];
        const way = Math.sign(delta);
        if (!way || at === (way < 0 ? 0 : scroll.starts.length - 1)) return;
        event.preventDefault();
        wheeled = Math.sign(wheeled) === way ? wheeled + delta : delta;
        if (Math.abs(wheeled) >= 50) {
          wheeled = 0;
          scrollBy(way);
        }
      }, { passive: false });
      svg.addEventListener("pointerdown", (event) => {
        const p = inSvg(event), plot = chart.plot;
        dragged = false;
        press = event.button === 0 && p.x >= plot[0] && p.x <= plot[0] + plot[2] &&
          p.y >= plot[1] && p.y <= plot[1] + plot[3] ? { x: p.x, start: shownStart() } : null;
      });
      svg.addEventListener("pointerup", () => { press = null; svg.style.cursor = ""; });
      figure.addEventListener("keydown", (event) => {
        const el = event.target.closest && event.target.closest("[data-plotara-hit]");
        if (event.defaultPrevented || !Object.hasOwn(keySteps, event.key) ||
            (el && regionOf(el).n)) return;
        event.preventDefault();
        scrollBy(keySteps[event.key]);
      });
    }

    // Zoom (line and scatter charts): the page holds the chart laid out at a ladder of ranges, as
    // the desktop shows each, and shows the smallest window that holds the range asked for: a
    // rubber band over the plot, or Ctrl+wheel (a fifth of the range a notch, around the
    // pointer); Escape or a double-click shows the whole chart. The windows are read on the first
    // zoom. "m" maps a point of the whole chart into a window; ranges are in the whole chart's
    // pixels. The windows change at once, without motion.
    // The windows' script element comes after this script and holds their JSON packed (zlib in
    // base64): it is inflated when the viewer first zooms, which then waits for it. A zoomed
    // chart's page shows its window ("zoomed", whose parts are the picture's own) first.
    const zooms = figure.getAttribute("data-plotara-zooms");
    const zoomed = chart.zoomed, first = zoomed ? zoomed.k : 0;
    let loading = null;
    const loadWindows = () => loading || (loading = (async () => {
      const packed = atob(figure.querySelector("script[id$='-zoom']").textContent);
      const bytes = Uint8Array.from(packed, (c) => c.charCodeAt(0));
      const text = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("deflate"));
      windows = JSON.parse(await new Response(text).text());
    })().catch((trouble) => console.warn("plotara: the zoom windows cannot be read:", trouble)));
    const slots = [...svg.querySelectorAll("[data-plotara-zoom]")];
    let windows = null, shown = first, asked = null, band = null, firstParts = null;
    // Under a host policy that requires Trusted Types, a window's markup (the player's own SVG,
    // its texts escaped) goes in through the policy "plotara", made on the first zoom; where
    // the host allows no such policy it goes in as it is, which such a policy refuses.
    let policy;
    const markup = (text) => {
      if (policy === undefined) {
        try {
          policy = window.trustedTypes
            ? trustedTypes.createPolicy("plotara", { createHTML: (t) => t }) : null;
        } catch (refused) {
          policy = null;
        }
      }
      return policy ? policy.createHTML(text) : text;
    };
    // Window k's map and plot, also before the windows are read: the whole chart's, the first's.
    const held = (k) => windows ? windows[k]
      : k && k === first ? zoomed : { m: [1, 0, 1, 0], plot: chart.plot };
    const zoomMap = () => held(shown).m;
    const zoomPlot = () => held(shown).plot;
    const xyZoom = zooms === "xy";
    const inside = (p, x, y) => x >= p[0] - 0.5 && x <= p[0] + p[2] + 0.5 &&
      y >= p[1] - 0.5 && y <= p[1] + p[3] + 0.5;
    // What window k shows of the whole chart: [x0, x1, y0, y1] (the whole chart's own before the
    // windows are read).
    const reach = (k) => {
      const [ax, bx, ay, by] = held(k).m, p = held(k).plot;
      const ys = [(p[1] - by) / ay, (p[1] + p[3] - by) / ay];
      return [(p[0] - bx) / ax, (p[0] + p[2] - bx) / ax, Math.min(...ys), Math.max(...ys)];
    };
    const toWhole = (p) => {
      const [ax, bx, ay, by] = zoomMap();
      return [(p.x - bx) / ax, (p.y - by) / ay];
    };
    // A point's hit element where the shown window has it, hidden where the window leaves it out.
    const place = (el, x, y) => {
      const [ax, bx, ay, by] = zoomMap();
      el.setAttribute("cx", ax * x + bx);
      el.setAttribute("cy", ay * y + by);
      if (inside(zoomPlot(), ax * x + bx, ay * y + by)) el.removeAttribute("display");
      else el.setAttribute("display", "none");
    };
    const homes = new Map(); // the plot points' hit elements where the whole chart has them
    const placeHits = () => {
      for (const el of hits) {
        const region = regionOf(el);
        if (region.p === undefined || region.p < 0 || /^(legend|scroll)/.test(region.k)) continue;
        if (!homes.has(el)) {
          homes.set(el, el.tagName === "circle" && [Number(el.getAttribute("cx")),
            Number(el.getAttribute("cy"))]);
        }
        const home = region.n ? [pointOf(region, region.j).x, pointOf(region, region.j).y]
          : homes.get(el);
        if (hidden.has(region.s)) continue;
        if (home) place(el, home[0], home[1]);
        else if (shown) el.setAttribute("display", "none"); // not a circle: left out while zoomed
        else el.removeAttribute("display");
      }
    };
    // Of each pixel column's points in a row the first, the highest, the lowest and the last, in
    // their order: the same stroke, far fewer segments for the browser to rasterise (the player
    // writes a long line of the whole chart so).
    const thin = (xs, ys) => {
      const keep = [];
      for (let i = 0; i < xs.length;) {
        const column = Math.floor(xs[i]);
        let end = i + 1, low = i, high = i;
        for (; end < xs.length && Math.floor(xs[end]) === column; ++end) {
          if (ys[end] < ys[low]) low = end;
          if (ys[end] > ys[high]) high = end;
        }
        for (const j of [i, Math.min(low, high), Math.max(low, high), end - 1]) {
          if (keep[keep.length - 1] !== j) keep.push(j);
        }
        i = end;
      }
      return keep;
    };
    // A series' line in window k, as the player traces it: the series' points from the category
    // before the window to the one after it through the window's map, a new piece after each
    // missing point; a long solid line thinned as the player writes one.
    const lineOf = (k, series, dashed) => {
      const [ax, bx, ay, by] = windows[k].m, from = windows[k].r[0] - 1, to = windows[k].r[1] + 1;
      const pieces = [];
      let xs = [], ys = [], last = -2;
      for (const run of runs) {
        if (run.s !== series || run.w !== undefined) continue;
        for (let p = Math.max(from, run.p); p <= Math.min(to, run.p + run.n - 1); ++p) {
          if (p !== last + 1 && xs.length) {
            pieces.push([xs, ys]);
            [xs, ys] = [[], []];
          }
          xs.push(ax * run.xy[2 * (p - run.p)] + bx);
          ys.push(ay * run.xy[2 * (p - run.p) + 1] + by);
          last = p;
        }
      }
      if (xs.length) pieces.push([xs, ys]);
      let d = "";
      const long = !dashed && pieces.reduce((n, [px]) => n + px.length, 0) > 256;
      for (const [px, py] of pieces) {
        const keep = long ? thin(px, py) : px.map((_, j) => j);
        keep.forEach((j, i) => {
          d += (i ? "L" : "M") + px[j].toFixed(2) + " " + py[j].toFixed(2);
        });
      }
      return d;
    };
    // The lines the window leaves to the script: a placeholder with the line's looks each.
    const drawLines = (k) => {
      const lines = new Map();
      for (const el of svg.querySelectorAll("[data-plotara-zoom] [data-plotara-line]")) {
        const group = el.closest("[data-plotara-series]");
        const series = Number(group.getAttribute("data-plotara-series"));
        const dashed = el.hasAttribute("stroke-dasharray"), key = series + (dashed ? "d" : "");
        if (!lines.has(key)) lines.set(key, lineOf(k, series, dashed));
        el.setAttribute("d", lines.get(key));
      }
    };
    const showWindow = (k) => {
      if (k === shown) return;
      if (!firstParts) firstParts = slots.map((slot) => [...slot.childNodes]);
      slots.forEach((slot, i) => {
        if (k === first) slot.replaceChildren(...firstParts[i]);
        else slot.innerHTML = markup(windows[k].parts[i]);
      });
      if (k !== first) drawLines(k);
      shown = k;
      if (k) figure.setAttribute("data-plotara-range", windows[k].r.join());
      else figure.removeAttribute("data-plotara-range");
      for (const g of svg.querySelectorAll("[data-plotara-zoom] [data-plotara-series]")) {
        if (hidden.has(Number(g.getAttribute("data-plotara-series")))) {
          g.setAttribute("display", "none");
        } else {
          g.removeAttribute("display");
        }
      }
      placeHits();
      hideTip();
    };
    // The smallest window that holds the range asked for; the whole chart past it.
    const zoomTo = (range) => {
      const whole = reach(0), xy = xyZoom;
      // Asked for the whole chart or more: the next notch starts from the whole chart.
      asked = range[0] <= whole[0] && range[1] >= whole[1] &&
        (!xy || (range[2] <= whole[2] && range[3] >= whole[3])) ? null : range;
      if (!windows) {
        const wanted = asked; // a zoomed chart's page zooms out to the whole chart too
        if (asked || shown) loadWindows().then(() => windows && asked === wanted && zoomTo(range));
        return;
      }
      let best = 0, size = Infinity;
      windows.forEach((w, k) => {
        const r = reach(k), holds = r[0] <= range[0] + 0.5 && r[1] >= range[1] - 0.5 &&
          (!xy || (r[2] <= range[2] + 0.5 && r[3] >= range[3] - 0.5));
        const extent = (r[1] - r[0]) * (xy ? r[3] - r[2] : 1);
        if (holds && extent < size) [best, size] = [k, extent];
      });
      showWindow(best);
    };
    const zoomOut = () => {
      asked = null;
      if (windows) showWindow(0);
      else if (shown) loadWindows().then(() => windows && !asked && showWindow(0));
    };
    const inPlot = (p) => inside(zoomPlot(), p.x, p.y);
    // Pan (Shift+drag or the middle button, while zoomed): the range moves with the pointer, and
    // the page shows the window of the same size nearest to it (their starts are half a window
    // apart); from a zoomed chart's own window, of the ladder's size nearest to its size.
    let pan = null;
    const sizeOf = (r) => [r[1] - r[0], r[3] - r[2]];
    const rungOf = ([width, height]) => {
      let size = [width, height], near = Infinity;
      windows.forEach((w, k) => {
        if (!k || k === first) return;
        const [w0, h0] = sizeOf(reach(k));
        const d = Math.abs(Math.log(w0 / width)) + (xyZoom ? Math.abs(Math.log(h0 / height)) : 0);
        if (d < near) [size, near] = [[w0, h0], d];
      });
      return size;
    };
    const panBy = (event) => {
      if (!(event.buttons & 5)) return (pan = null);
      const p = inSvg(event);
      if (!dragged && Math.hypot(p.x - pan.x, p.y - pan.y) < 4) return;
      if (!dragged) svg.setPointerCapture(event.pointerId);
      dragged = true;
      svg.style.cursor = "grabbing";
      // A zoomed chart's page reads the windows as a pan starts: the pan moves once they are in.
      if (!windows) return void loadWindows();
      const [ax, , ay] = pan.m, f = pan.from, [width, height] = rungOf(sizeOf(f));
      const dx = (p.x - pan.x) / ax, dy = xyZoom ? (p.y - pan.y) / ay : 0;
      let best = shown, far = Infinity;
      windows.forEach((w, k) => {
        const r = reach(k), [w0, h0] = sizeOf(r);
        if (!k || k === first || Math.abs(w0 - width) > 0.02 * width ||
            (xyZoom && Math.abs(h0 - height) > 0.02 * height)) return;
        const d = Math.hypot(r[0] + r[1] - f[0] - f[1] + 2 * dx,
          xyZoom ? r[2] + r[3] - f[2] - f[3] + 2 * dy : 0);
        if (d < far) [best, far] = [k, d];
      });
      asked = null;
      if (best !== shown) showWindow(best);
    };
    if (zoomed) {
      // The hit elements are the whole chart's: to the window shown. Its range as the script
      // gives every window's.
      placeHits();
      figure.setAttribute("data-plotara-range", zoomed.r.join());
    }
    if (zooms) {
      svg.style.userSelect = tip.style.userSelect = "none"; // a band would select the texts
      let wheeled = 0;
      svg.addEventListener("wheel", (event) => {
        if (!event.ctrlKey || !inPlot(inSvg(event))) return;
        event.preventDefault();
        const delta = event.deltaY * [1, 40, 800][event.deltaMode];
        wheeled = Math.sign(wheeled) === Math.sign(delta) ? wheeled + delta : delta;
        if (Math.abs(wheeled) < 50) return;
        const factor = wheeled < 0 ? 0.8 : 1.25, [x, y] = toWhole(inSvg(event));
        wheeled = 0;
        const r = asked || reach(shown), xy = xyZoom;
        zoomTo([x + (r[0] - x) * factor, x + (r[1] - x) * factor,
          xy ? y + (r[2] - y) * factor : r[2], xy ? y + (r[3] - y) * factor : r[3]]);
      }, { passive: false });
      svg.addEventListener("pointerdown", (event) => {
        const p = inSvg(event);
        const panning = event.button === 1 || (event.button === 0 && event.shiftKey);
        dragged = false;
        band = event.button === 0 && !panning && inPlot(p) ? { x: p.x, y: p.y, el: null } : null;
        pan = panning && shown && inPlot(p) ? { x: p.x, y: p.y, from: reach(shown), m: zoomMap() }
          : null;
        if (pan) event.preventDefault(); // the middle button's scrolling
      });
      svg.addEventListener("pointermove", (event) => {
        if (pan) return panBy(event);
        if (!band || !(event.buttons & 1)) return (band = null);
        const p = inSvg(event), plot = zoomPlot();
        if (!band.el && Math.hypot(p.x - band.x, p.y - band.y) < 4) return;
        if (!band.el) {
          loadWindows(); // read while the band is drawn
          svg.setPointerCapture(event.pointerId);
          band.el = svg.appendChild(document.createElementNS(svg.namespaceURI, "rect"));
          for (const [k, v] of Object.entries({ fill: "#3875d7", "fill-opacity": "0.2",
            stroke: "#3875d7", "pointer-events": "none" })) band.el.setAttribute(k, v);
        }
        const x = Math.max(plot[0], Math.min(plot[0] + plot[2], p.x));
        const y = Math.max(plot[1], Math.min(plot[1] + plot[3], p.y));
        const y0 = xyZoom ? band.y : plot[1], y1 = xyZoom ? y : plot[1] + plot[3];
        Object.assign(band, { x1: x, y1 });
        band.el.setAttribute("x", Math.min(band.x, x));
        band.el.setAttribute("y", Math.min(y0, y1));
        band.el.setAttribute("width", Math.abs(x - band.x));
        band.el.setAttribute("height", Math.abs(y1 - y0));
        dragged = true;
        hideTip();
      });
      svg.addEventListener("pointerup", () => {
        pan = null;
        svg.style.cursor = "";
        const done = band && band.el;
        if (done) band.el.remove();
        if (done && Math.abs(band.x1 - band.x) >= 4) {
          const [x0, y0] = toWhole({ x: band.x, y: band.y }), [x1, y1] =
            toWhole({ x: band.x1, y: band.y1 });
          zoomTo([Math.min(x0, x1), Math.max(x0, x1), Math.min(y0, y1), Math.max(y0, y1)]);
        }
        band = null;
      });
      svg.addEventListener("dblclick", (event) => { if (inPlot(inSvg(event))) zoomOut(); });
      // Escape while the chart, or nothing, has the keyboard (a band leaves the focus on the page).
      document.addEventListener("keydown", (event) => {
        const at = document.activeElement;
        if (event.key === "Escape" && (!at || at === document.body || figure.contains(at))) {
          zoomOut();
        }
      });
    }

    // Only the elements Tab reaches listen for focus: a browser may make an SVG element that
    // listens for focus focusable.
    for (const el of hits.filter((h) => h.hasAttribute("tabindex"))) {
      el.style.cursor = "pointer";
      el.addEventListener("focus", () => {
        el.setAttribute("stroke", "#005fcc");
        el.setAttribute("stroke-width", "2");
        showFocus(el);
      });
      el.addEventListener("blur", () => { el.removeAttribute("stroke"); hideTip(); });
      el.addEventListener("keydown", (event) => {
        if (regionOf(el).n && /^Arrow/.test(event.key)) {
          rove(el, event);
        } else if (event.key === "Enter" ||
                   (event.key === " " && el.getAttribute("role") === "checkbox")) {
          event.preventDefault();
          act(el);
        }
      });
    }
    svg.addEventListener("pointermove", (event) => {
      if ((scroll && drag(event)) || (band && band.el) || (pan && dragged)) return hideTip();
      const found = regionAt(event);
      if (found) showTip(found.region.t, event.clientX, event.clientY); else hideTip();
    });
    svg.addEventListener("pointerleave", hideTip);
    svg.addEventListener("click", (event) => {
      if (dragged) return (dragged = false); // the end of a drag, not a click
      const found = regionAt(event);
      if (found && found.el) act(found.el, event); else if (found) follow(found.region);
    });

    // The data table, a row per plot element in series and point order, made when first shown.
    const fillTable = (body) => {
      const rows = new Map();
      for (const r of chart.regions) {
        for (let j = 0; j < (r.n || 1); ++j) {
          const p = r.n ? pointOf(r, j) : r;
          const name = p.sn ?? chart.series[p.s] ?? "";
          if (p.p >= 0) rows.set(p.s + "," + p.p, [p.s, p.p, name, p.l, p.v]);
        }
      }
      const cells = [...rows.values()].sort((a, b) => a[0] - b[0] || a[1] - b[1]);
      const all = document.createDocumentFragment();
      for (const row of cells) {
        const tr = all.appendChild(document.createElement("tr"));
        for (const text of row.slice(2)) {
          tr.appendChild(document.createElement("td")).textContent = text;
        }
      }
      body.appendChild(all);
    };
    const button = figure.querySelector("button[aria-controls]");
    const table = figure.querySelector("table");
    button.addEventListener("click", () => {
      if (table.hidden && !table.tBodies[0].rows.length) fillTable(table.tBodies[0]);
      table.hidden = !table.hidden;
      button.setAttribute("aria-expanded", String(!table.hidden));
    });

    if (moves) moves.drawIn();
    figure.setAttribute("data-plotara-ready", "");
  };
  // A dense chart's data (points by the thousand) is read once its picture is on the screen:
  // the first paint does not wait for it.
  if (data.textContent.length > 100000) requestAnimationFrame(() => setTimeout(setUp));
  else setUp();
})();
