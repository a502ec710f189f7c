#!/usr/bin/env python3
"""The pages `plotara render -o x.html` writes, in headless Chromium: tool texts, drill-down
events, keyboard, what a screen reader gets, the draw-in, legend toggling, scrolling, hostile
texts, two fragments on one page, and the page's picture against the PNG of the same chart.

    python3 tests/browser/test_pages.py path/to/plotara     # exit 77: no Chromium installed
"""

import base64
import hashlib
import math
import os
import re
import subprocess
import sys
import tempfile
import unittest
import zlib
from xml.etree import ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402
import png  # noqa: E402

PLOTARA = None
WORK = tempfile.TemporaryDirectory(prefix="plotara-browser-")
HOSTILE_IMG = "<img src=x onerror=alert(1)>"
HOSTILE_SCRIPT = "</script><script>window.pwned=1</script>"


def attr(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace("'", "&apos;"))


def sets(rows):
    """<set> elements from (label, value, toolText or None, link or None) rows."""
    out = ""
    for label, value, tip, link in rows:
        out += "<set label='%s' value='%s'" % (attr(label), value)
        out += " toolText='%s'" % attr(tip) if tip else ""
        out += " link='%s'" % attr(link) if link else ""
        out += "/>"
    return out


# label, value, tool text, link, the drill-down detail a click gives, the address it opens
COLUMNS = [
    ("Jan", 40, "January: 40 units", "host:showMonth:a,,b",
     {"action": "showMonth", "parameter": ["a", "", "b"]}, None),
    ("Feb", 55, None, "javascript:pick('x,y')", {"action": "pick", "parameter": ["x", "y"]}, None),
    ("Mar", 30, HOSTILE_IMG, "host:empty", {"action": "empty", "parameter": None}, None),
    (HOSTILE_SCRIPT, 45, HOSTILE_SCRIPT, "javascript:alert(1)",
     {"action": "alert", "parameter": ["1"]}, None),
    ("May", 50, "May", "javascript:window.pwned=2", None, None),
    ("Jun", 35, "Jun", "javascript:(window.pwned=3)", None, None),
    ("Jul", 20, "Jul", "https://example.com/r?m=7,8", None, "https://example.com/r?m=7,8"),
]
COLUMN_XML = "<chart caption='%s' animation='0'>%s</chart>" % (
    attr(HOSTILE_IMG + " Sales"), sets(row[:4] for row in COLUMNS))
LEGEND_XML = ("<chart caption='Two series' animation='0'><categories><category label='A'/>"
              "<category label='B'/></categories>"
              "<dataset seriesName='North'><set value='30'/><set value='50'/></dataset>"
              "<dataset seriesName='South'><set value='40'/><set value='20'/></dataset></chart>")
SCROLL_XML = ("<chart caption='Scroll' numVisiblePlot='6' animation='0'><categories>%s</categories>"
              "<dataset seriesName='S'>%s</dataset></chart>" % (
                  "".join("<category label='C%d'/>" % i for i in range(40)),
                  "".join("<set value='%d' link='host:c:%d'/>" % (10 + i * 7 % 50, i)
                          for i in range(40))))
SIZE = (640, 400)


def svg_texts(path):
    """The texts of an SVG file, sorted."""
    return sorted("".join(t.itertext()) for t in ElementTree.parse(path).getroot().iter(
        "{http://www.w3.org/2000/svg}text"))


def zoom_windows(path, prefix="plotara"):
    """The zoom windows a page carries (JSON, packed as zlib in base64), by range."""
    with open(path) as f:
        page = f.read()
    packed = re.search(r'<script type="application/zlib" id="%s-zoom">([^<]*)</script>'
                       % re.escape(prefix), page).group(1)
    windows = cdp.json.loads(zlib.decompress(base64.b64decode(packed)))
    # Keyed as the figure's data-plotara-range gives a range: JavaScript's numbers joined.
    return {",".join(str(int(v)) if v == int(v) else repr(float(v)) for v in w["r"]): w
            for w in windows}


def ppm(data):
    """A binary PPM file (what plotara_animation_frames writes) as png.decode gives a PNG."""
    magic, width, height, depth, pixels = data.split(maxsplit=4)
    assert magic == b"P6" and depth == b"255", "not an 8-bit PPM"
    rgba = bytearray()
    for i in range(0, len(pixels), 3):
        rgba += pixels[i:i + 3] + b"\xff"
    return int(width), int(height), bytes(rgba)


def render(name, chart_type, xml, suffix=".html", *extra):
    source = os.path.join(WORK.name, name + ".xml")
    with open(source, "w") as f:
        f.write(xml)
    target = os.path.join(WORK.name, name + suffix)
    subprocess.run([PLOTARA, "render", "--type", chart_type, "--xml", source, "-o", target,
                    "--width", str(SIZE[0]), "--height", str(SIZE[1])] + list(extra), check=True)
    return target


class Pages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = cdp.Browser(*SIZE)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def load(self, path):
        b = self.browser
        b.events.clear()
        b.open(path)
        # A dense chart sets itself up after its first paint: wait until every figure is ready.
        ready = b.eval("new Promise(done => { const t0 = performance.now(); const check = () =>"
                       " !document.querySelector('figure.plotara:not([data-plotara-ready])') ?"
                       " done(true) : performance.now() - t0 > 5000 ? done(false) :"
                       " setTimeout(check, 10); check(); })")
        self.assertTrue(ready, "a figure's script did not set it up")
        b.eval("window.__drill = []; window.__opened = []; window.open = u =>"
               " window.__opened.push(u); document.addEventListener('plotara-drilldown',"
               " e => window.__drill.push(e.detail))")
        return b

    def named(self, name):
        """A selector for the plot element of that accessible name."""
        index = self.browser.eval(
            "[...document.querySelectorAll('[data-plotara-hit]')].find(e =>"
            " e.getAttribute('aria-label') === %s)?.getAttribute('data-plotara-hit')"
            % cdp.json.dumps(name))
        self.assertIsNotNone(index, "no plot element named " + name)
        return "[data-plotara-hit='%s']" % index

    def test_tool_texts_show_the_document_text_inside_the_page(self):
        b = self.load(render("column", "column2d", COLUMN_XML))
        for column, (label, value, tip, *_) in enumerate(COLUMNS):
            with self.subTest(label=label):
                b.hover(*b.center("[data-plotara-hit='%d']" % column))
                shown = b.eval("(() => { const t = document.querySelector('[role=tooltip]');"
                               " const r = t.getBoundingClientRect();"
                               " return [t.textContent, getComputedStyle(t).visibility !== 'hidden'"
                               " && !t.hidden && r.width > 0, r.left >= 0 && r.top >= 0 &&"
                               " r.right <= innerWidth && r.bottom <= innerHeight]; })()")
                self.assertEqual(shown[1:], [True, True])
                self.assertEqual(shown[0], tip or "%s, %s" % (label, value))
        self.assertEqual(b.troubles(), [])

    def test_clicks_on_links_dispatch_the_drilldown_event_and_run_nothing(self):
        b = self.load(render("column", "column2d", COLUMN_XML))
        for column, (_, _, _, link, detail, opened) in enumerate(COLUMNS):
            with self.subTest(link=link):
                b.eval("window.__drill = []; window.__opened = []")
                b.click(*b.center("[data-plotara-hit='%d']" % column))
                self.assertEqual(b.eval("window.__drill"), [detail] if detail else [])
                self.assertEqual([u.replace("%2C", ",") for u in b.eval("window.__opened")],
                                 [opened] if opened else [])
        self.assertEqual(b.eval("[window.pwned, location.protocol]"), [None, "file:"])
        self.assertEqual(b.troubles(), [])

    def test_hostile_texts_stay_text(self):
        b = self.load(render("column", "column2d", COLUMN_XML))
        b.click(*b.center("figure button"))  # the table is made when first shown
        self.assertEqual(
            b.eval("[document.querySelector('figcaption').textContent.trim(),"
                   " document.querySelectorAll('img, script:not([type]), script[src]').length,"
                   " [...document.querySelectorAll('[data-plotara-hit]')].some(e =>"
                   " e.getAttribute('aria-label').startsWith(%s)), window.pwned]"
                   % cdp.json.dumps(HOSTILE_SCRIPT)),
            [HOSTILE_IMG + " Sales", 1, True, None])
        self.assertIn(HOSTILE_SCRIPT, b.eval("document.querySelector('figure table').textContent"))
        self.assertEqual(b.troubles(), [])

    def test_tab_reaches_every_link_with_a_focus_ring_and_enter_follows_it(self):
        b = self.load(render("column", "column2d", COLUMN_XML))
        reached = []
        for _ in range(2 * len(COLUMNS) + 4):
            b.key("Tab")
            state = b.eval("(() => { const e = document.activeElement, s = getComputedStyle(e);"
                           " return [e.getAttribute('data-plotara-hit'), e.getAttribute('role'),"
                           " s.outlineStyle !== 'none' && parseFloat(s.outlineWidth) > 0 ||"
                           " s.stroke !== 'none' && parseFloat(s.strokeWidth) > 0]; })()")
            if state[0] is not None and state[0] not in reached:
                self.assertEqual(state[1:], ["link", True], "focus on element " + state[0])
                reached.append(state[0])
                if len(reached) == 1:
                    b.key("Enter")
                    self.assertEqual(b.eval("window.__drill"), [COLUMNS[0][4]])
        self.assertEqual(len(reached), len(COLUMNS))

    def test_screen_readers_get_the_figure_its_elements_and_the_data_table(self):
        b = self.load(render("column", "column2d", COLUMN_XML))
        b.send("Accessibility.enable")

        def named(roles):
            return [(n["role"]["value"], n.get("name", {}).get("value"))
                    for n in b.send("Accessibility.getFullAXTree")["nodes"]
                    if not n.get("ignored") and n.get("role", {}).get("value") in roles]

        self.assertEqual(named({"figure", "button", "link", "table"}),
                         [("figure", HOSTILE_IMG + " Sales"), ("button", "data")] +
                         [("link", name) for name in ("January: 40 units", "Feb: 55", HOSTILE_IMG,
                                                      HOSTILE_SCRIPT, "May", "Jun", "Jul")])
        b.click(*b.center("figure button"))
        self.assertEqual(named({"table"}), [("table", HOSTILE_IMG + " Sales")])
        self.assertEqual(len(named({"row"})), 1 + len(COLUMNS))

    def test_draw_in_runs_only_when_the_chart_and_the_reader_allow_motion(self):
        b = self.browser
        try:
            for animation, reduce, moves in (("1", "no-preference", True),
                                             ("1", "reduce", False),
                                             ("0", "no-preference", False)):
                with self.subTest(animation=animation, reduce=reduce):
                    b.send("Emulation.setEmulatedMedia", features=[
                        {"name": "prefers-reduced-motion", "value": reduce}])
                    self.load(render("motion" + animation, "mscolumn2d",
                                     LEGEND_XML.replace("animation='0'",
                                                        "animation='%s'" % animation)))
                    self.assertEqual(b.eval("document.getAnimations().length > 0"), moves)
        finally:
            b.send("Emulation.setEmulatedMedia", features=[
                {"name": "prefers-reduced-motion", "value": "reduce"}])

    # The draw-in frozen at a time (ms): every animation the page started, paused there.
    FREEZE = "(() => { for (const a of window.__moves) a.currentTime = %d; })()"

    def moving(self, name, chart_type, xml):
        b = self.browser
        b.send("Emulation.setEmulatedMedia", features=[
            {"name": "prefers-reduced-motion", "value": "no-preference"}])
        try:
            self.load(render(name, chart_type, xml))
            # Kept: a paused animation past its end is no longer among the page's animations.
            b.eval("window.__moves = document.getAnimations();"
                   " for (const a of window.__moves) a.pause()")
        finally:
            b.send("Emulation.setEmulatedMedia", features=[
                {"name": "prefers-reduced-motion", "value": "reduce"}])
        return b

    def test_draw_in_moves_points_from_the_zero_line_as_the_desktop_does(self):
        b = self.moving("rise", "column2d", "<chart showValues='1'>%s</chart>" % sets(
            [("A", 30, None, None), ("B", -20, None, None), ("C", 40, None, None)]))
        boxes = ("[...document.querySelectorAll('g[data-plotara-series] path')].map(p => {"
                 " const r = p.getBBox(); return [r.y, r.y + r.height]; })")
        labels = ("[...document.querySelectorAll('text[data-plotara-label]')].map(t =>"
                  " getComputedStyle(t).visibility)")
        b.eval(self.FREEZE % 5000)
        final = b.eval(boxes)
        zero = final[0][1]  # the bottom of the positive first column, the top of the negative
        self.assertAlmostEqual(final[1][0], zero, delta=0.01)
        b.eval(self.FREEZE % 0)
        for top, bottom in b.eval(boxes):
            self.assertAlmostEqual(top, zero, delta=0.01)
            self.assertAlmostEqual(bottom, zero, delta=0.01)
        b.eval(self.FREEZE % 400)
        now = b.eval(boxes)
        self.assertAlmostEqual(now[0][1], zero, delta=0.01)  # anchored on the zero line
        self.assertAlmostEqual(now[1][0], zero, delta=0.01)
        share = [(n[1] - n[0]) / (f[1] - f[0]) for n, f in zip(now, final)]
        self.assertTrue(1 > share[0] > share[1] > share[2] > 0, share)  # one after another
        # Each where the desktop has it: setting off 0, 0.15 and 0.3 s in, easing out (cubic)
        # over 0.7 s; 10 ms after the last has set off too, where its speed is highest.
        b.eval(self.FREEZE % 310)
        for k, (n, f) in enumerate(zip(b.eval(boxes), final)):
            way = max(0.0, min(1.0, (0.31 - 0.15 * k) / 0.7))
            self.assertAlmostEqual((n[1] - n[0]) / (f[1] - f[0]), 1 - (1 - way) ** 3, delta=0.004)
        # A label shows when its column has arrived: the first at 0.7 s, the last at 1 s.
        b.eval(self.FREEZE % 750)
        self.assertEqual(b.eval(labels), ["visible", "hidden", "hidden"])
        b.eval(self.FREEZE % 5000)
        self.assertEqual(b.eval(labels), ["visible"] * 3)
        self.assertEqual(b.troubles(), [])

    def test_draw_in_keeps_the_depth_of_3d_columns_and_bars(self):
        # Each prism face's points as they are drawn now: a top or side face keeps its back
        # points its depth up and right of its front ones all the way, as the desktop draws
        # a shorter prism, also where the depth reaches into the next category (the upper bar
        # of a group); the front face collapses onto the zero line at the start.
        faces = ("[...document.querySelectorAll('g[data-plotara-series] path')].map(p =>"
                 " getComputedStyle(p).d.match(/[-\\d.]+/g).map(Number))")
        values = [(30, 10), (-20, 25), (40, -5), (15, 35), (25, 20), (35, 5)]
        bars = "<chart><categories>%s</categories>%s</chart>" % (
            "".join("<category label='%d'/>" % k for k in range(len(values))),
            "".join("<dataset seriesName='%s'>%s</dataset>" % (
                name, "".join("<set value='%d'/>" % v[k] for v in values))
                for k, name in enumerate("ST")))
        for chart_type, along, xml in (
                ("column3d", 1, "<chart>%s</chart>" % sets(
                    [("A", 30, None, None), ("B", -20, None, None), ("C", 40, None, None)])),
                ("msbar3d", 0, bars)):
            b = self.moving("prism-" + chart_type, chart_type, xml)
            b.eval(self.FREEZE % 5000)
            final = b.eval(faces)
            depths = [f[2] - f[0] for f in final if f[3] != f[1]]  # top and side faces
            depth = depths[0]
            self.assertGreater(depth, 2)
            self.assertLess(max(depths) - min(depths), 0.02, final)  # one depth (to 0.01 px)
            rest = b.eval("JSON.parse(document.querySelector(\"script[type='application/json']\")"
                          ".textContent).rest[0]")
            for ms in (0, 300, 600):
                with self.subTest(chart_type=chart_type, ms=ms):
                    b.eval(self.FREEZE % ms)
                    now = b.eval(faces)
                    self.assertEqual(len(now), len(final))
                    for f in now:
                        if f[3] == f[1]:  # a front face: anchored on the zero line
                            self.assertTrue(any(abs(v - rest) < 0.01 for v in f[along::2]), f)
                            continue
                        self.assertAlmostEqual(f[2] - f[0], depth, delta=0.02)
                        self.assertAlmostEqual(f[1] - f[3], depth, delta=0.02)
                        self.assertAlmostEqual(f[4] - f[6], depth, delta=0.02)
                    if ms == 0:  # every face flat on the zero plane
                        for f in now:
                            front = [f[k + along] for k in range(0, 8, 2)]
                            self.assertTrue(all(abs(v - rest) < 0.01 or
                                                abs(v - (rest - depth if along else rest + depth))
                                                < 0.01 for v in front), f)
            self.assertEqual(b.troubles(), [])

    def test_draw_in_keeps_markers_on_their_line_and_xy_points_in_place(self):
        b = self.moving("rise-line", "line2d", "<chart drawAnchors='1'>%s</chart>" % sets(
            [("A", 30, None, None), ("B", 10, None, None), ("C", 40, None, None),
             ("D", 25, None, None)]))
        line = ("(() => { const p = document.querySelector('g[data-plotara-series] path');"
                " return [getComputedStyle(p).d.match(/[-\\d.]+/g).map(Number),"
                " getComputedStyle(p).transform]; })()")
        marks = ("[...document.querySelectorAll('[data-plotara-mark]')].map(m => {"
                 " const r = m.getBBox(); return [r.x + r.width / 2, r.y + r.height / 2]; })")
        for ms in (0, 150, 400, 800):
            with self.subTest(ms=ms):
                b.eval(self.FREEZE % ms)
                (values, transform), centres = b.eval(line), b.eval(marks)
                self.assertEqual(transform, "none")  # the line keeps its width
                self.assertEqual(len(centres), 4)
                for k, (x, y) in enumerate(centres):
                    self.assertAlmostEqual(x, values[2 * k], delta=0.05)
                    self.assertAlmostEqual(y, values[2 * k + 1], delta=0.05)
        # Each point where the desktop has it 10 ms after the last sets off (0, 0.1, 0.2 and
        # 0.3 s in, then easing out over 0.7 s), where it moves fastest.
        rest = b.eval("JSON.parse(document.querySelector(\"script[type='application/json']\")"
                      ".textContent).rest[0]")
        b.eval(self.FREEZE % 5000)
        final = b.eval(line)[0][1::2]
        b.eval(self.FREEZE % 310)
        for k, (now, end) in enumerate(zip(b.eval(line)[0][1::2], final)):
            way = max(0.0, min(1.0, (0.31 - 0.1 * k) / 0.7))
            self.assertAlmostEqual((now - rest) / (end - rest), 1 - (1 - way) ** 3, delta=0.004)
        # A long line is a <use> of pieces in <defs>: copies of them rise in its place.
        b = self.moving("rise-long", "line2d", "<chart>%s</chart>" % sets(
            [(str(i), 50 + i * 37 % 29, None, None) for i in range(400)]))
        ys = ("[...document.querySelectorAll('g[data-plotara-series] > path')].flatMap(p =>"
              " getComputedStyle(p).d.match(/[-\\d.]+/g).map(Number).filter((v, k) => k % 2))")
        rest = b.eval("JSON.parse(document.querySelector(\"script[type='application/json']\")"
                      ".textContent).rest[0]")
        self.assertEqual(b.eval("[...document.querySelectorAll('g[data-plotara-series] > use')]"
                                ".map(u => getComputedStyle(u).display)"), ["none", "none"])
        b.eval(self.FREEZE % 0)
        self.assertEqual(set(b.eval(ys)), {rest})
        b.eval(self.FREEZE % 5000)
        self.assertLess(min(b.eval(ys)), rest - 100)  # risen to its place
        b.eval("for (const a of window.__moves) a.finish()")
        b.pump(0.1)  # the use is back, its copies gone
        self.assertEqual(b.eval("[...document.querySelectorAll('g[data-plotara-series] > use')]"
                                ".map(u => getComputedStyle(u).display)"), ["inline", "inline"])
        self.assertEqual(b.eval("document.querySelectorAll('[data-plotara-stand-in]').length"), 0)
        b = self.moving("grow", "scatter", "<chart><dataset seriesName='A'>%s</dataset></chart>" %
                        "".join("<set x='%d' y='%d'/>" % (i, i * i % 7) for i in range(20)))
        centres = ("[...document.querySelectorAll('g[data-plotara-series] use')].map(u => {"
                   " const r = u.getBoundingClientRect(); return [r.x + r.width / 2,"
                   " r.y + r.height / 2, r.width]; })")
        b.eval(self.FREEZE % 5000)
        final = b.eval(centres)
        self.assertEqual(len(final), 20)
        b.eval(self.FREEZE % 300)
        for (x, y, w), (fx, fy, fw) in zip(b.eval(centres), final):
            self.assertAlmostEqual(x, fx, delta=0.05)
            self.assertAlmostEqual(y, fy, delta=0.05)
            self.assertTrue(0 < w < fw, (w, fw))
        # Bubbles set off one after another by their place in the series.
        b = self.moving("bubbles", "bubble", "<chart><dataset seriesName='A'>%s</dataset></chart>"
                        % "".join("<set x='%d' y='%d' z='%d'/>" % (i * 10, i % 3, 5 + i)
                                  for i in range(6)))
        widths = ("[...document.querySelectorAll('g[data-plotara-series] path')].map(p =>"
                  " p.getBoundingClientRect().width)")
        b.eval(self.FREEZE % 5000)
        final = b.eval(widths)
        b.eval(self.FREEZE % 300)
        shares = [w / f for w, f in zip(b.eval(widths), final)]
        self.assertGreater(shares[0], shares[-1] + 0.1, shares)
        self.assertEqual(b.troubles(), [])

    def test_draw_in_opens_a_pie_showing_labels_as_it_passes(self):
        b = self.moving("sweep", "pie2d", "<chart>%s</chart>" % sets(
            [("A", 30, None, None), ("B", 20, None, None), ("C", 40, None, None),
             ("D", 35, None, None)]))
        # Half way out along the last slice's middle (where its label line starts), in the window.
        point = b.eval("(() => { const c = JSON.parse(document.querySelector(\"script[type="
                       "'application/json']\").textContent).pie.c; const t = [...document"
                       ".querySelectorAll('text[data-plotara-label]')].find(e => e.textContent"
                       ".startsWith('D')); const [x, y] = t.previousElementSibling.getAttribute"
                       "('d').match(/[\\d.]+/g).map(Number); const o = document.querySelector"
                       "('svg').getBoundingClientRect(); return [o.x + (c[0] + x) / 2,"
                       " o.y + (c[1] + y) / 2]; })()")
        shown = ("Object.fromEntries([...document.querySelectorAll('text[data-plotara-label]')]"
                 ".map(t => [t.textContent[0], getComputedStyle(t).visibility]))")
        pixel = lambda: png.decode(b.screenshot([point[0], point[1], 1, 1]))[2][:3]
        b.eval(self.FREEZE % 300)
        self.assertEqual(b.eval(shown), {"A": "visible", "B": "visible", "C": "hidden",
                                         "D": "hidden"})
        self.assertEqual(pixel(), b"\xff\xff\xff")  # not reached yet: the background
        # Opening like a fan, as the desktop does: every slice's angles have grown by the same
        # share (0.657 at 0.3 s), so D, the last, already shows half way round its share.
        fanned = b.eval("(() => { const p = JSON.parse(document.querySelector(\"script[type="
                        "'application/json']\").textContent).pie, e = 1 - 0.7 ** 3;"
                        " const s = p.a[0][0], d = p.a[3], t = [...document.querySelectorAll("
                        "'text[data-plotara-label]')].find(e => e.textContent.startsWith('D'));"
                        " const [x, y] = t.previousElementSibling.getAttribute('d')"
                        ".match(/[\\d.]+/g).map(Number), r = Math.hypot(x - p.c[0], y - p.c[1]);"
                        " const a = s + ((d[0] + d[1]) / 2 - s) * e, o = document.querySelector"
                        "('svg').getBoundingClientRect(); return [o.x + p.c[0] + r / 2 *"
                        " Math.cos(a), o.y + p.c[1] + r / 2 * Math.sin(a), document.querySelectorAll"
                        "('g[data-plotara-series] path')[3].getAttribute('fill')]; })()")
        colour = bytes(int(v) for v in re.findall(r"\d+", fanned[2]))
        self.assertEqual(png.decode(b.screenshot([fanned[0], fanned[1], 1, 1]))[2][:3], colour)
        b.eval(self.FREEZE % 5000)
        self.assertEqual(set(b.eval(shown).values()), {"visible"})
        self.assertNotEqual(pixel(), b"\xff\xff\xff")
        self.assertEqual(b.troubles(), [])

    def test_draw_in_frames_are_the_desktops(self):
        # The page frozen part way against the desktop's frame at the same share of the
        # draw-in, which the player lays out at that progress (plotara_animation_frames).
        frames = os.environ.get("PLOTARA_FRAMES")
        if not frames:
            self.skipTest("PLOTARA_FRAMES (the plotara_animation_frames program) is not set")
        movies = {words[1]: words[-2].rstrip(",") for words in map(str.split, subprocess.run(
            [PLOTARA, "types"], capture_output=True, text=True, check=True).stdout.splitlines())
            if len(words) > 3}
        charts = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
            os.path.abspath(__file__)))), "share", "plotara", "charts")
        negative = "<chart showValues='1'>%s</chart>" % sets(
            [("A", 30, None, None), ("B", -20, None, None), ("C", 45, None, None),
             ("D", -10, None, None), ("E", 25, None, None)])
        pie = ("<chart><set label='A' value='30'/><set label='B' value='20'/><set label='C'"
               " value='35'/><set label='D' value='15' isSliced='1'/></chart>")
        line = "<chart drawAnchors='1'>%s</chart>" % sets(
            [(str(i), 20 + i * 7 % 30, None, None) for i in range(8)])
        stack = "<chart><categories>%s</categories>%s</chart>" % (
            "".join("<category label='%s'/>" % c for c in "ABC"),
            "".join("<dataset seriesName='%s'>%s</dataset>" % (n, "".join(
                "<set value='%d'/>" % v for v in values))
                for n, values in (("S", (30, 10, 25)), ("T", (20, 35, 15)))))
        bubbles = "<chart><dataset seriesName='B'>%s</dataset></chart>" % "".join(
            "<set x='%d' y='%d' z='%d'/>" % (i, 10 + i * 7 % 23, 5 + i % 4) for i in range(9))
        for name, chart_type, xml in (("frames-columns", "column2d", negative),
                                      ("frames-3d", "column3d", negative),
                                      ("frames-bars", "stackedbar3d", stack),
                                      ("frames-pie", "pie2d", pie),
                                      ("frames-line", "line2d", line),
                                      ("frames-bubbles", "bubble", bubbles)):
            prefix = os.path.join(WORK.name, name)
            source = prefix + ".xml"
            with open(source, "w") as f:
                f.write(xml)
            subprocess.run([frames, charts, movies[chart_type], source, str(SIZE[0]),
                            str(SIZE[1]), "6", prefix], check=True)
            b = self.moving(name, chart_type, xml)
            box = b.eval("(() => { const r = document.querySelector('figure svg')"
                         ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
            for k in (1, 3):  # 0.2 and 0.6 of the way
                with self.subTest(chart=chart_type, progress=k / 5):
                    b.eval(self.FREEZE % (200 * k))
                    with open("%s-%03d.ppm" % (prefix, k), "rb") as f:
                        desktop = ppm(f.read())
                    # Text and edges are drawn by another rasteriser (0.08 to 0.3 % differ).
                    self.assertLess(png.differing(png.decode(b.screenshot(box)), desktop), 0.005)

    def test_a_toggled_series_shrinks_to_its_base_line_and_grows_back(self):
        b = self.moving("toggle-motion", "mscolumn2d", LEGEND_XML.replace("animation='0'", ""))
        b.eval("for (const a of window.__moves) a.finish()")
        column = ("(() => { const g = document.querySelector(\"g[data-plotara-series='0']\");"
                  " const r = g.querySelector('path').getBBox();"
                  " return [r.y, r.y + r.height, g.getAttribute('display')]; })()")
        full = b.eval(column)
        entry = "[role=checkbox]"
        for show in (False, True):
            with self.subTest(show=show):
                b.eval("document.querySelector('%s').focus()" % entry)
                b.key(" ")
                b.eval("window.__moves = document.getAnimations();"
                       " for (const a of window.__moves) a.pause()")
                heights = []
                for ms in (0, 150, 295):
                    b.eval(self.FREEZE % ms)
                    top, bottom, display = b.eval(column)
                    self.assertIsNone(display)  # shown while it moves
                    self.assertAlmostEqual(bottom, full[1], delta=0.01)  # on the base line
                    heights.append((bottom - top) / (full[1] - full[0]))
                # Eased out: most of the way in the first half, in or out.
                if not show:
                    heights = [1 - h for h in heights]
                self.assertTrue(heights[0] < 0.01 and 0.5 < heights[1] < 1 and heights[2] > 0.99,
                                (show, heights))
                b.eval("for (const a of window.__moves) a.finish()")
                b.pump(0.1)
                self.assertEqual(b.eval(column)[2], None if show else "none")
        self.assertEqual(b.troubles(), [])

    def test_legend_entries_toggle_their_series_by_click_and_space(self):
        b = self.load(render("legend", "mscolumn2d", LEGEND_XML))
        column = b.center(self.named("North, A, 30"))
        for how in ("click", "space"):
            with self.subTest(how=how):
                entry = "[role=checkbox]"
                for expected in ("false", "true"):
                    if how == "click":
                        b.click(*b.center(entry))
                    else:
                        b.eval("document.querySelector('%s').focus()" % entry)
                        b.key(" ")
                    b.pump(0.5)  # past any transition
                    state = b.eval("[document.querySelector('%s').getAttribute('aria-checked'),"
                                   " document.elementFromPoint(%f, %f)"
                                   "?.closest('[data-plotara-hit]')?.getAttribute('aria-label')"
                                   " || '']" % (entry, *column))
                    self.assertEqual(state[0], expected)
                    self.assertEqual(state[1] == "North, A, 30", expected == "true", state[1])
        self.assertEqual(b.troubles(), [])

    def test_a_hidden_series_leaves_its_stacks(self):
        # S below T and U; in B, S and U below the zero line. Hidden, S leaves every stack: the
        # segments above it come down onto what is left (their tool texts with them), U's in
        # B up to the zero line; the totals, which count S, are away until S is back.
        xml = ("<chart showSum='1' showValues='1' animation='0'><categories><category label='A'/>"
               "<category label='B'/></categories>%s</chart>" % "".join(
                   "<dataset seriesName='%s'><set value='%d'/><set value='%d'/></dataset>" % row
                   for row in (("S", 30, -10), ("T", 20, 25), ("U", 10, -15))))
        b = self.load(render("restack", "stackedcolumn2d", xml))
        spans = ("Object.fromEntries([...document.querySelectorAll('[data-plotara-hit][role=img]')]"
                 ".map(h => [h.getAttribute('aria-label'), (() => { const r = h.getBBox();"
                 " return [r.y, r.y + r.height]; })()]))")
        totals = ("[...document.querySelectorAll('text[data-plotara-label]')].filter(t =>"
                  " !t.closest('g[data-plotara-series]')).map(t => getComputedStyle(t).display"
                  " !== 'none')")
        before = b.eval(spans)
        zero = before["S, A, 30"][1]
        height = {k: v[1] - v[0] for k, v in before.items()}
        self.assertEqual(b.eval(totals), [True, True])
        b.click(*b.center("[role=checkbox]"))
        b.pump(0.5)
        after = b.eval(spans)
        expected = {"T, A, 20": zero, "U, A, 10": zero - height["T, A, 20"],  # bottoms
                    "T, B, 25": zero}
        for name, bottom in expected.items():
            self.assertAlmostEqual(after[name][1], bottom, delta=0.02, msg=name)
            self.assertAlmostEqual(after[name][1] - after[name][0], height[name], delta=0.02)
        self.assertAlmostEqual(after["U, B, -15"][0], zero, delta=0.02)  # hangs from zero
        # The picture moved with the hit elements: the column drawn at U's new place is U's.
        paths = ("[...document.querySelectorAll('g[data-plotara-series] path')].filter(p =>"
                 " getComputedStyle(p.closest('g')).display !== 'none').map(p => {"
                 " const r = p.getBBox(); return [r.y, r.y + r.height]; })")
        for name in expected:
            self.assertTrue(any(abs(t - after[name][0]) < 0.02 and abs(u - after[name][1]) < 0.02
                                for t, u in b.eval(paths)), name)
        self.assertEqual(b.eval(totals), [False, False])
        x, y = b.center(self.named("U, A, 10"))
        b.hover(x, y)
        self.assertEqual(b.eval("document.querySelector('[role=tooltip]').textContent"),
                         "U, A, 10")
        b.click(*b.center("[role=checkbox]"))
        b.pump(0.5)
        self.assertEqual(b.eval(spans), before)
        self.assertEqual(b.eval(totals), [True, True])
        self.assertEqual(b.troubles(), [])

    def test_dense_points_answer_from_the_page_data(self):
        # Above 1,000 points the page writes them as data: the script finds the point under the
        # pointer, walks the linked ones by arrow keys and makes the table when it is asked for.
        count, links = 1500, {300: "host:pt:300", 301: "host:pt:301,x", 1200: "host:pt:1200"}
        rows = [("P%d" % i, 100 + i * 37 % 500, HOSTILE_IMG if i == 700 else None, links.get(i))
                for i in range(count)]
        b = self.load(render("dense", "line2d", "<chart animation='0' drawAnchors='1'>%s</chart>"
                             % sets(rows)))
        self.assertLess(b.eval("document.querySelectorAll('[data-plotara-hit]').length"), 20)
        centre = ("(j => { const d = JSON.parse(document.querySelector('figure script"
                  "[type=\"application/json\"]').textContent).regions.find(r => r.n);"
                  " const p = new DOMPoint(d.xy[2 * j], d.xy[2 * j + 1]).matrixTransform("
                  "document.querySelector('figure svg').getScreenCTM()); return [p.x, p.y]; })")
        for j in (0, 300, 700, 1200, count - 1):
            with self.subTest(point=j):
                b.eval("window.__drill = []")
                x, y = b.eval("%s(%d)" % (centre, j))
                b.hover(x, y)
                label, value, tip, link = rows[j]
                self.assertEqual(b.eval("document.querySelector('[role=tooltip]').textContent"),
                                 tip or "%s, %s" % (label, value))
                b.click(x, y)
                self.assertEqual(len(b.eval("window.__drill")), 1 if link else 0)
        b.eval("window.__drill = []; document.querySelector('figure [role=link]').focus()")
        names = [b.eval("document.activeElement.getAttribute('aria-label')")]
        for key in ("Enter", "ArrowRight", "ArrowRight", "Enter", "ArrowRight"):
            b.key(key)
            names.append(b.eval("document.activeElement.getAttribute('aria-label')"))
        self.assertEqual(names, ["P300: 200"] * 2 + ["P301: 237"] + ["P1200: 500"] * 3)
        self.assertEqual(b.eval("window.__drill"), [{"action": "pt", "parameter": ["300"]},
                                                    {"action": "pt", "parameter": ["1200"]}])
        b.click(*b.center("figure button"))
        self.assertEqual(b.eval("[document.querySelectorAll('figure tbody tr').length,"
                                " document.querySelector('figure tbody tr:nth-child(701)')"
                                ".textContent]"), [count, "P700" + str(100 + 700 * 37 % 500)])
        self.assertEqual(b.troubles(), [])

    def test_scroll_charts_scroll_by_wheel_drag_and_arrow_key(self):
        b = self.load(render("scroll", "scrollcolumn2d", SCROLL_XML))
        plot = self.plot_on_screen()
        box = b.eval("(() => { const r = document.querySelector('figure svg')"
                     ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
        step = plot[2] / 6
        # The middle of the fourth column's slot, just above the plot's base: inside the column.
        x, y = plot[0] + 3.5 * step, plot[1] + plot[3] - 3

        def start():
            return int(b.eval("document.querySelector('figure [role=scrollbar]')"
                              ".getAttribute('aria-valuenow')"))

        def keys(*names):
            b.eval("document.querySelector('figure [role=scrollbar]').focus()")
            for name in names:
                b.key(name)

        # how, the move, the start after it (from 0: wheel one step, arrows two, the drag of
        # 250 pixels five categories, End the last start and a step past it none)
        moves = [("wheel", lambda: b.wheel(x, y, 0, 120), 1),
                 ("arrow", lambda: keys("ArrowRight", "ArrowRight"), 3),
                 ("drag", lambda: b.drag(x + 100, y, x - 150, y), 3 + round(250 / step)),
                 ("end", lambda: keys("End", "ArrowRight"), 34),
                 ("home", lambda: (keys("Home", "ArrowLeft"), b.wheel(x, y, 0, -120)), 0)]
        for how, move, expected in moves:
            with self.subTest(how=how):
                before = png.decode(b.screenshot(box))
                move()
                b.pump(0.2)
                self.assertEqual(start(), expected)
                self.assertGreater(png.differing(before, png.decode(b.screenshot(box))), 0.01)
                b.hover(x - 3, y)  # a move, also where the wheel left the pointer
                b.hover(x, y)
                category = expected + 3
                self.assertEqual(b.eval("document.querySelector('[role=tooltip]').textContent"),
                                 "C%d, %d" % (category, 10 + category * 7 % 50))
        self.assertEqual(b.eval("window.__drill"), [], "a drag is no click")
        # A focused column keeps the focus as the window moves on, and Enter still follows it.
        b.eval("document.querySelector(%s).focus()" % cdp.json.dumps(self.named("C3: 31")))
        b.key("ArrowRight")
        b.key("Enter")
        self.assertEqual(b.eval("[document.activeElement.getAttribute('aria-label'), document"
                                ".activeElement.closest('[data-plotara-window]')"
                                ".getAttribute('data-plotara-window'), window.__drill]"),
                         ["C3: 31", "1", [{"action": "c", "parameter": ["3"]}]])
        self.assertEqual(b.troubles(), [])

    def shown(self):
        """The texts the page's picture shows, sorted, and the range it is zoomed to."""
        return self.browser.eval(
            "[[...document.querySelectorAll('figure svg text')].filter(t =>"
            " t.getClientRects().length).map(t => t.textContent).sort(), document"
            ".querySelector('figure').getAttribute('data-plotara-range')]")

    def plot_on_screen(self, window=False):
        """The plot's box in the browser window: the whole chart's, or with window the one a
        zoomed chart's page opens on."""
        return self.browser.eval(
            "(() => { const d = JSON.parse(document.querySelector('figure script"
            "[type=\"application/json\"]').textContent), p = %s, m = document"
            ".querySelector('figure svg').getScreenCTM(); return [m.e + p[0], m.f + p[1], p[2],"
            " p[3]]; })()" % ("d.zoomed.plot" if window else "d.plot"))

    def range_leaves(self, before, figure="figure"):
        """The range the figure shows once it is no longer `before` (or after 5 s): the first
        zoom waits for the page's windows to be inflated."""
        return self.browser.eval(
            "new Promise(done => { const f = document.querySelector(%s), t0 = performance.now();"
            " const check = () => f.getAttribute('data-plotara-range') !== %s ||"
            " performance.now() - t0 > 5000 ? done(f.getAttribute('data-plotara-range')) :"
            " setTimeout(check, 10); check(); })" % (cdp.json.dumps(figure),
                                                     cdp.json.dumps(before)))

    def assert_line_is_the_desktops(self, xml, zoom):
        """The window's line, drawn by the script from the page's points: its corners are those
        of the line in the SVG `--zoom` writes (in order; the script keeps the first, highest,
        lowest and last of each pixel column, as the page keeps a long line), broken where it
        breaks, and the page's picture is the PNG's (the dense strokes' antialiased edges differ
        on about 1.3 % of the pixels, as do the whole chart's page and PNG)."""
        b, extra = self.browser, ("--zoom", "%d,%d" % zoom)
        drawn = b.eval("[...document.querySelectorAll('figure [data-plotara-line]')]"
                       ".map(p => p.getAttribute('d'))")
        self.assertTrue(drawn and all(drawn), "no line drawn by the script")
        line = max((p.get("d", "") for p in ElementTree.parse(render(
            "zoom-line", "line2d", xml, ".svg", *extra)).getroot().iter(
            "{http://www.w3.org/2000/svg}path")), key=len)

        def corners(d):
            return [(float(x), float(y)) for x, y in re.findall(r"[ML](-?[\d.]+) (-?[\d.]+)", d)]

        def near(p, q):
            return abs(p[0] - q[0]) < 0.06 and abs(p[1] - q[1]) < 0.06

        want = corners(line)
        for d in drawn:
            got, rest = corners(d), iter(want)
            self.assertEqual(d.count("M"), line.count("M"))
            self.assertTrue(near(got[0], want[0]) and near(got[-1], want[-1]),
                            (zoom, got[:2], want[:2], got[-1], want[-1]))
            self.assertTrue(all(any(near(p, q) for q in rest) for p in got))
        # The plot only: the category labels are long texts, drawn by another rasteriser.
        with open(render("zoom-line", "line2d", xml, ".png", *extra), "rb") as f:
            width, _, pixels = png.decode(f.read())
        p = self.windows[self.shown()[1]]["plot"]
        x0, y0, w, h = math.ceil(p[0]), math.ceil(p[1]), math.floor(p[2]) - 1, math.floor(p[3]) - 1
        plot = b"".join(pixels[4 * (width * y + x0):4 * (width * y + x0 + w)]
                        for y in range(y0, y0 + h))
        box = b.eval("document.querySelector('figure svg').getBoundingClientRect().toJSON()")
        shot = png.decode(b.screenshot([box["x"] + x0, box["y"] + y0, w, h]))
        self.assertLess(png.differing(shot, (w, h, plot)), 0.01)

    def test_dense_line_zooms_to_what_the_desktop_shows(self):
        count = 2000
        # Labels that would be markup: the windows the script puts in are text as well.
        # A few points missing: the line breaks there, in the window as well.
        xml = "<chart animation='0'>%s</chart>" % sets(
            ("P%d%s" % (i, HOSTILE_IMG), "" if i % 211 == 3 else 100 + i * 37 % 500 + i // 4,
             None, None) for i in range(count))
        page = render("zoom", "line2d", xml)
        b, self.windows = self.load(page), zoom_windows(page)

        def at(j):
            """A point of the whole chart where the page shows it now, in the window."""
            r = self.shown()[1]
            return b.eval("((j, m) => { const d = JSON.parse(document.querySelector('figure"
                          " script[type=\"application/json\"]').textContent).regions.find(r =>"
                          " r.n && r.p <= j && j < r.p + r.n); j -= d.p; const p = new DOMPoint("
                          "m[0] * d.xy[2 * j] + m[1], m[2] * d.xy[2 * j + 1] + m[3])"
                          ".matrixTransform(document.querySelector('figure svg').getScreenCTM());"
                          " return [p.x, p.y]; })(%d, %s)"
                          % (j, cdp.json.dumps(self.windows[r]["m"] if r else [1, 0, 1, 0])))

        def desktop(*zoom):
            extra = ("--zoom", ",".join(map(str, zoom))) if zoom else ()
            return [svg_texts(render("zoom-%s" % len(zoom), "line2d", xml, ".svg", *extra)),
                    "%s,%s,0,0" % zoom if zoom else None]

        whole = desktop()
        self.assertEqual(self.shown(), whole)
        # A band over categories 600 to 900: the smallest window the page holds that holds
        # them is 500 to 1000 (a quarter); its labels are the desktop's for it.
        (x0, y), (x1, _) = at(600), at(900)
        b.drag(x0, y - 20, x1, y + 20)
        self.range_leaves(None)
        self.assertEqual(self.shown(), desktop(500, 1000))
        self.assert_line_is_the_desktops(xml, (500, 1000))
        # The point under the pointer is found where the window shows it.
        b.hover(*at(750))
        self.assertEqual(b.eval("document.querySelector('[role=tooltip]').textContent"),
                         "P750%s, %d" % (HOSTILE_IMG, 100 + 750 * 37 % 500 + 750 // 4))
        self.assertEqual(b.eval("document.querySelectorAll('figure img').length"), 0)
        self.assertEqual(b.eval("window.__drill"), [], "a band is no click")
        # A pan (Shift+drag, or the middle button) moves the range with the pointer: the page
        # shows the window of the same size nearest to it, here the next quarter and back.
        b.drag(*at(750), *at(500), modifiers=8)
        self.assertEqual(self.shown(), desktop(750, 1249))
        b.drag(*at(1000), *at(1250), button="middle")
        self.assertEqual(self.shown(), desktop(500, 1000))
        self.assertEqual(b.eval("window.__drill"), [], "a pan is no click")
        b.key("Escape")
        self.assertEqual(self.shown(), whole)
        # The ladder goes down to a 128th of the categories: a band over 700 to 730 shows a
        # window that holds it, at most four times as wide, as the desktop shows that window.
        (x0, y), (x1, _) = at(700), at(730)
        b.drag(x0, y - 20, x1, y + 20)
        first, last = map(int, self.shown()[1].split(",")[:2])
        self.assertTrue(first <= 700 and last >= 730 and last - first <= 4 * 30, (first, last))
        self.assertEqual(self.shown(), desktop(first, last))
        self.assert_line_is_the_desktops(xml, (first, last))
        b.key("Escape")
        # Ctrl+wheel: a fifth of the range a notch around the pointer; the page shows the
        # half from 500 to 1499 once the range asked fits in it, and the whole chart again
        # when a notch out asks for more than it.
        middle = at(1000)
        seen = []
        for notch in (-120,) * 4 + (120,):
            b.mouse("mouseWheel", *middle, deltaX=0, deltaY=notch, modifiers=2)
            b.pump(0.2)
            seen.append(self.shown()[1])
        self.assertEqual(seen, [None, None, None, "500,1499,0,0", None])
        self.assertEqual(b.troubles(), [])

    def test_a_zoomed_chart_page_opens_on_its_window_and_zooms_on(self):
        """A page written from a zoomed line or scatter chart shows that window (its texts and
        picture those of the files `--zoom` writes), answers the pointer there, and zooms out
        and in as a page of the whole chart does."""
        line = "<chart animation='0'>%s</chart>" % sets(
            ("P%d" % i, 100 + i * 37 % 500 + i // 4, None, None) for i in range(2000))
        scatter = "<chart animation='0'><dataset seriesName='A'>%s</dataset></chart>" % "".join(
            "<set x='%s' y='%s'/>" % (i * 7919 % 1000 / 10, i * 104729 % 1000 / 10)
            for i in range(1200))
        for chart_type, xml, zoom, hover in (("line2d", line, "600,700", 650),
                                             ("scatter", scatter, "20,45,30,60", None)):
            with self.subTest(chart=chart_type):
                extra = ("--zoom", zoom)
                b = self.load(render("zoomed-" + chart_type, chart_type, xml, ".html", *extra))
                whole = svg_texts(render("whole-" + chart_type, chart_type, xml, ".svg"))
                window = svg_texts(render("window-" + chart_type, chart_type, xml, ".svg", *extra))
                r = zoom if chart_type == "scatter" else zoom + ",0,0"
                self.assertEqual(self.shown(), [window, r])
                with open(render("window-" + chart_type, chart_type, xml, ".png", *extra),
                             "rb") as f:
                    picture = png.decode(f.read())
                box = b.eval("(() => { const r = document.querySelector('figure svg')"
                             ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
                self.assertLess(png.differing(png.decode(b.screenshot(box)), picture), 0.01)
                if hover is not None:
                    # The point under the pointer is the window's: its tool text.
                    m = b.eval("JSON.parse(document.querySelector('figure script"
                               "[type=\"application/json\"]').textContent).zoomed.m")
                    b.hover(*b.eval(
                        "((j, m) => { const d = JSON.parse(document.querySelector('figure"
                        " script[type=\"application/json\"]').textContent).regions.find(r =>"
                        " r.n && r.p <= j && j < r.p + r.n); j -= d.p; const p = new DOMPoint("
                        "m[0] * d.xy[2 * j] + m[1], m[2] * d.xy[2 * j + 1] + m[3])"
                        ".matrixTransform(document.querySelector('figure svg').getScreenCTM());"
                        " return [p.x, p.y]; })(%d, %s)" % (hover, cdp.json.dumps(m))))
                    self.assertEqual(b.eval("document.querySelector('[role=tooltip]')"
                                            ".textContent"),
                                     "P%d, %d" % (hover, 100 + hover * 37 % 500 + hover // 4))
                # A band in the window, before the page has read its windows: the window
                # that holds it, as the desktop shows it.
                plot = self.plot_on_screen(window=True)
                b.drag(plot[0] + plot[2] * 0.3, plot[1] + plot[3] * 0.3,
                       plot[0] + plot[2] * 0.6, plot[1] + plot[3] * 0.6)
                inner = self.range_leaves(r)
                x0, x1, y0, y1 = map(float, inner.split(","))
                z0, z1, w0, w1 = map(float, r.split(","))
                held = [z0 + 0.3 * (z1 - z0) - 1, z0 + 0.6 * (z1 - z0) + 1,
                        w1 - 0.6 * (w1 - w0) - 1, w1 - 0.3 * (w1 - w0) + 1]
                self.assertTrue(x0 <= held[0] and x1 >= held[1], (inner, r))
                if chart_type == "scatter":
                    self.assertTrue(y0 <= held[2] and y1 >= held[3], (inner, r))
                self.assertEqual(self.shown()[0], svg_texts(render(
                    "inner-" + chart_type, chart_type, xml, ".svg", "--zoom",
                    inner if chart_type == "scatter" else "%d,%d" % (x0, x1))))
                # Escape shows the whole chart; a band zooms in again.
                b.key("Escape")
                self.assertIsNone(self.range_leaves(inner))
                self.assertEqual(self.shown(), [whole, None])
                plot = self.plot_on_screen()
                b.drag(plot[0] + plot[2] * 0.1, plot[1] + plot[3] * 0.2,
                       plot[0] + plot[2] * 0.2, plot[1] + plot[3] * 0.4)
                texts, shown = self.shown()
                self.assertIsNotNone(shown)
                self.assertEqual(texts, svg_texts(render(
                    "band-" + chart_type, chart_type, xml, ".svg", "--zoom",
                    shown if chart_type == "scatter" else ",".join(shown.split(",")[:2]))))
                self.assertEqual(b.troubles(), [])
        # A notch out from a window of nearly the whole line asks for more than the whole
        # chart, which the page then shows.
        b = self.load(render("nearly-whole", "line2d", line, ".html", "--zoom", "50,1950"))
        b.mouse("mouseWheel", *b.center("figure svg"), deltaX=0, deltaY=120, modifiers=2)
        self.assertIsNone(self.range_leaves("50,1950,0,0"))
        self.assertEqual(b.troubles(), [])

    def test_scatter_zooms_x_and_y_to_what_the_desktop_shows(self):
        points = [(i * 7919 % 1000 / 10, i * 104729 % 1000 / 10) for i in range(1200)]
        xml = "<chart animation='0'><dataset seriesName='A'>%s</dataset></chart>" % "".join(
            "<set x='%s' y='%s'/>" % p for p in points)
        page = render("zoom-xy", "scatter", xml)
        b, self.windows = self.load(page), zoom_windows(page)
        plot = self.plot_on_screen()
        b.drag(plot[0] + plot[2] * 0.55, plot[1] + plot[3] * 0.3, plot[0] + plot[2] * 0.7,
               plot[1] + plot[3] * 0.45)
        self.range_leaves(None)
        texts, shown = self.shown()
        wanted = svg_texts(render("zoom-xy-desktop", "scatter", xml, ".svg", "--zoom", shown))
        self.assertEqual(texts, wanted)
        x0, x1, y0, y1 = map(float, shown.split(","))
        self.assertTrue(x1 - x0 < 70 and y1 - y0 < 70, shown)
        # Every point the window shows answers the pointer there with its own tool text.
        inside = [j for j, (x, y) in enumerate(points)
                  if x0 + 3 < x < x1 - 3 and y0 + 3 < y < y1 - 3]
        j = inside[len(inside) // 2]
        b.hover(*b.eval("((j, w) => { const d = JSON.parse(document.querySelector('figure script"
                        "[type=\"application/json\"]').textContent).regions.find(r => r.n);"
                        " const p = new DOMPoint(w[0] * d.xy[2 * j] + w[1], w[2] * d.xy[2 * j + 1]"
                        " + w[3]).matrixTransform(document.querySelector('figure svg')"
                        ".getScreenCTM()); return [p.x, p.y]; })(%d, %s)"
                        % (j, cdp.json.dumps(self.windows[shown]["m"]))))
        self.assertIn("%g" % points[j][0], b.eval("document.querySelector('[role=tooltip]')"
                                                  ".textContent"))
        b.eval("document.querySelector('figure svg').dispatchEvent(new MouseEvent('dblclick',"
               " {bubbles: true, clientX: %f, clientY: %f}))"
               % (plot[0] + plot[2] / 2, plot[1] + plot[3] / 2))
        self.assertIsNone(self.shown()[1])
        self.assertEqual(b.troubles(), [])

    def test_a_zoomed_scroll_chart_scrolls_with_its_width(self):
        b = self.load(render("zoomed-scroll", "scrollcolumn2d", SCROLL_XML, ".html",
                             "--zoom", "4,7"))
        box = b.eval("(() => { const r = document.querySelector('figure svg')"
                     ".getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2];"
                     " })()")
        for move, start in ((lambda: b.wheel(*box, 0, 120), 5),
                            (lambda: (b.eval("document.querySelector('figure [role=scrollbar]')"
                                             ".focus()"), b.key("End")), 36)):
            move()
            self.assertEqual(b.eval("document.querySelector('figure [role=scrollbar]')"
                                    ".getAttribute('aria-valuenow')"), str(start))
            wanted = svg_texts(render("zoomed-%d" % start, "scrollcolumn2d", SCROLL_XML, ".svg",
                                      "--zoom", "%d,%d" % (start, start + 3)))
            self.assertEqual(self.shown()[0], wanted)
        self.assertEqual(b.troubles(), [])

    def fragments_page(self):
        """The test charts as fragments in one host page whose policy allows their scripts by
        hash and nothing else, and requires Trusted Types (allowing the page's own policy)."""
        parts = []
        line = "<chart animation='0'>%s</chart>" % sets(
            ("L%d" % i, 10 + i * 7 % 50, None, None) for i in range(40))
        for prefix, chart_type, xml in (("first", "mscolumn2d", LEGEND_XML),
                                        ("second", "column2d", COLUMN_XML),
                                        ("third", "scrollcolumn2d", SCROLL_XML),
                                        ("fourth", "line2d", line), ("fifth", "line2d", line)):
            with open(render(prefix, chart_type, xml, ".html", "--html-fragment", "--html-id",
                             prefix)) as f:
                parts.append(f.read())
        hashes = {"'sha256-%s'" % base64.b64encode(hashlib.sha256(s.encode()).digest()).decode()
                  for p in parts for s in re.findall(r"<script>(.*?)</script>", p, re.S)}
        host = os.path.join(WORK.name, "host.html")
        with open(host, "w") as f:
            f.write("<!DOCTYPE html><html><head><meta charset='utf-8'><meta http-equiv="
                    "'Content-Security-Policy' content=\"default-src 'none'; script-src %s;"
                    " require-trusted-types-for 'script'; trusted-types plotara"
                    " 'allow-duplicates'\">"
                    "</head><body>%s</body></html>" % (" ".join(sorted(hashes)), "".join(parts)))
        return self.load(host)

    def test_two_fragments_on_one_strict_page_each_work(self):
        b = self.fragments_page()
        for prefix, hit, tip in (("first", 2, "North, A, 30"), ("second", 0, COLUMNS[0][2])):
            with self.subTest(prefix=prefix):
                b.hover(*b.center("#%s [data-plotara-hit='%d']" % (prefix, hit)))
                shown = b.eval("document.getElementById('%s-tip').textContent" % prefix)
                self.assertEqual(shown, tip)
        b.eval("document.getElementById('second').addEventListener('plotara-drilldown',"
               " e => window.__drill.push(e.currentTarget.id))")
        b.click(*b.center("#second [data-plotara-hit='0']"))
        self.assertEqual(b.eval("window.__drill"), ["second", COLUMNS[0][4]])
        b.click(*b.center("#first [role=checkbox]"))
        self.assertEqual(b.eval("[...document.querySelectorAll('[role=checkbox]')]"
                                ".map(e => e.getAttribute('aria-checked'))"),
                         ["false", "true", "true"])
        b.eval("document.querySelector('#third [role=scrollbar]').focus()")
        b.key("ArrowRight")
        self.assertEqual(b.eval("[...new Set([...document.querySelectorAll('#third"
                                " [data-plotara-window]:not([display])')].map(g =>"
                                " g.getAttribute('data-plotara-window')))]"), ["1"])
        # Both line charts zoom (Ctrl+wheel, four notches in: a half window) through the policy.
        for prefix in ("fourth", "fifth"):
            middle = b.center("#%s svg" % prefix)
            for _ in range(4):
                b.mouse("mouseWheel", *middle, deltaX=0, deltaY=-120, modifiers=2)
                b.pump(0.2)
        self.assertEqual([self.range_leaves(None, "#" + p) for p in ("fourth", "fifth")],
                         ["10,29,0,0"] * 2)
        self.assertEqual(b.troubles(), [])

    def test_every_id_of_a_fragment_carries_its_prefix(self):
        b = self.fragments_page()
        self.assertEqual(b.eval("['first', 'second', 'third'].flatMap(p =>"
                                " [...document.getElementById(p)"
                                ".querySelectorAll('[id]')].map(e => e.id)"
                                ".filter(id => !id.startsWith(p + '-')))"), [])

    def test_the_page_looks_like_the_png_of_the_chart(self):
        xml = "<chart caption='Sales' animation='0'>%s</chart>" % sets(
            (label, value, None, None) for label, value, *_ in COLUMNS[:3])
        # A scroll chart's page shows the window the PNG shows (here the last, then the third).
        def at(start):
            return SCROLL_XML.replace("'6'", "'6' scrollPosition='%s'" % start)

        for name, chart_type, xml in (("same", "column2d", xml),
                                      ("same-end", "scrollcolumn2d", at("end")),
                                      ("same-3", "scrollcolumn2d", at(3))):
            with self.subTest(chart=name):
                with open(render(name, chart_type, xml, ".png"), "rb") as f:
                    picture = png.decode(f.read())
                b = self.load(render(name, chart_type, xml))
                box = b.eval("(() => { const r = document.querySelector('figure svg')"
                             ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
                self.assertEqual(box[2:], list(SIZE))
                # Text is drawn by another rasteriser: its edges differ, nothing else (0.15 % of
                # the pixels for the SVG file of the column chart).
                self.assertLess(png.differing(png.decode(b.screenshot(box)), picture), 0.01)


class Driver(unittest.TestCase):
    """The checks above can fail: the driver sees a dialog, an exception and a blocked script."""

    def test_troubles_are_seen(self):
        page = os.path.join(WORK.name, "troubles.html")
        with open(page, "w") as f:
            f.write("<!DOCTYPE html><meta http-equiv='Content-Security-Policy' content=\"script-src"
                    " 'sha256-%s'\"><script>alert('hi'); null.x</script><script>1</script>"
                    % base64.b64encode(hashlib.sha256(b"alert('hi'); null.x").digest()).decode())
        with cdp.Browser(200, 100) as b:
            b.open(page)
            found = b.troubles()
        for start in ("dialog: hi", "exception: Uncaught", "log: Executing inline script",
                      "csp: script-src-elem inline"):
            self.assertTrue(any(t.startswith(start) for t in found), (start, found))


if __name__ == "__main__":
    if not cdp.find_chromium():
        print("SKIP: chromium is not installed (scripts/install-deps.sh installs it)")
        sys.exit(77)
    PLOTARA = sys.argv.pop(1)
    unittest.main(verbosity=2)
