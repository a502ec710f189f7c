// The interaction of a Plotara chart page, for the <figure class="plotara"> that holds this
// script: tool texts, links and drill-down events, keyboard, legend toggling, the draw-in and the
// data table. The chart's data is the JSON beside it; the script names no id of its own, so one
// hash allows it for every chart of a page (docs/web.md).
(() => {
  "use strict";
  const figure = document.currentScript && document.currentScript.closest("figure.plotara");
  if (!figure) return;
  const chart = JSON.parse(figure.querySelector("script[type='application/json']").textContent);
  const svg = figure.querySelector("svg");
  const tip = figure.querySelector("[role='tooltip']");
  const hits = Array.from(svg.querySelectorAll("[data-plotara-hit]"));
  const regionOf = (el) => chart.regions[Number(el.getAttribute("data-plotara-hit"))];
  const reduced = matchMedia("(prefers-reduced-motion: reduce)").matches;

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

  // A legend entry shows and hides its series' groups and hit elements; the axes stay.
  const toggle = (el) => {
    if (el.getAttribute("aria-disabled") === "true") return;
    const series = regionOf(el).s, show = el.getAttribute("aria-checked") !== "true";
    el.setAttribute("aria-checked", String(show));
    el.setAttribute("fill", show ? "#000" : "#fff");
    el.setAttribute("fill-opacity", show ? "0" : "0.6");
    const parts = [...svg.querySelectorAll(`[data-plotara-series='${series}']`)]
      .concat(hits.filter((h) => regionOf(h).s === series && regionOf(h).k !== "legend"));
    for (const part of parts) {
      if (show) part.removeAttribute("display"); else part.setAttribute("display", "none");
    }
  };

  const act = (el) => {
    if (el.getAttribute("role") === "checkbox") toggle(el); else follow(regionOf(el));
  };

  for (const el of hits) {
    const region = regionOf(el);
    if (region.call || region.href || el.getAttribute("role") === "checkbox")
      el.style.cursor = "pointer";
    el.addEventListener("click", () => act(el));
    el.addEventListener("focus", () => {
      el.setAttribute("stroke", "#005fcc");
      el.setAttribute("stroke-width", "2");
      const box = el.getBoundingClientRect();
      showTip(region.t, box.left + box.width / 2, box.top + box.height / 2);
    });
    el.addEventListener("blur", () => { el.removeAttribute("stroke"); hideTip(); });
    el.addEventListener("keydown", (event) => {
      if (event.key === "Enter" || (event.key === " " && el.getAttribute("role") === "checkbox")) {
        event.preventDefault();
        act(el);
      }
    });
  }
  svg.addEventListener("pointermove", (event) => {
    const el = event.target.closest && event.target.closest("[data-plotara-hit]");
    if (el) showTip(regionOf(el).t, event.clientX, event.clientY); else hideTip();
  });
  svg.addEventListener("pointerleave", hideTip);

  const button = figure.querySelector("button[aria-controls]");
  const table = figure.querySelector("table");
  button.addEventListener("click", () => {
    table.hidden = !table.hidden;
    button.setAttribute("aria-expanded", String(!table.hidden));
  });

  // The draw-in: each series grows out of the plot's base (bars from its left), or the whole
  // picture fades in when the chart has no series groups (pies).
  if (chart.drawIn > 0 && !reduced && typeof svg.animate === "function") {
    const timing = { duration: chart.drawIn * 1000, easing: "cubic-bezier(0.33, 1, 0.68, 1)" };
    const groups = svg.querySelectorAll("g[data-plotara-series]");
    const plot = chart.plot || [0, 0, 0, 0];
    for (const g of groups) {
      Object.assign(g.style, {
        transformBox: "view-box",
        transformOrigin: chart.bars ? `${plot[0]}px 0px` : `0px ${plot[1] + plot[3]}px`
      });
      g.animate([{ transform: chart.bars ? "scale(0, 1)" : "scale(1, 0)" },
        { transform: "none" }], timing);
    }
    if (groups.length === 0) svg.animate([{ opacity: 0 }, { opacity: 1 }], timing);
  }
})();
