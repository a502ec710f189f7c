#!/usr/bin/env python3
"""Makes docs/web-tooltip.png, the picture of a chart's web page with a tool text showing
(docs/web.md): `plotara render -o chart.html` writes the page, headless Chromium (the driver of
tests/browser) opens it, moves the mouse over a column and takes the figure's picture. Run it
from the repository after building:
    python3 scripts/make-web-tooltip-picture.py [path/to/plotara]   # default build/apps/plotara
"""

import os
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "browser"))
import cdp  # noqa: E402

plotara = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "apps", "plotara")
CHART = """<chart caption='Visitors by month' subCaption='Thousands' numberSuffix='k'
       decimals='0' yAxisMaxValue='60' canvasBorderColor='C8C8C8' animation='0'>
  <set label='Jan' value='21' color='1F5F99'/>
  <set label='Feb' value='28' color='1F5F99'/>
  <set label='Mar' value='35' color='1F5F99' toolText='March: 35k visitors, best since 2019'
       link='host:showMonth:2026,3'/>
  <set label='Apr' value='31' color='1F5F99'/>
  <set label='May' value='44' color='1F5F99'/>
  <set label='Jun' value='52' color='1F5F99'/>
</chart>"""

with tempfile.TemporaryDirectory() as work, cdp.Browser(640, 480) as browser:
    source, page = os.path.join(work, "chart.xml"), os.path.join(work, "chart.html")
    with open(source, "w") as f:
        f.write(CHART)
    subprocess.run([plotara, "render", "--type", "column2d", "--xml", source, "--width", "560",
                    "--height", "360", "-o", page], check=True)
    browser.open(page)
    index = browser.eval("[...document.querySelectorAll('[data-plotara-hit]')].find(e =>"
                         " e.getAttribute('aria-label').startsWith('Mar'))"
                         ".getAttribute('data-plotara-hit')")
    browser.hover(*browser.center("[data-plotara-hit='%s']" % index))
    box = browser.eval("(() => { const r = document.querySelector('figure')"
                       ".getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
    trouble = browser.troubles()
    if trouble:
        sys.exit("the page reported: %s" % trouble)
    with open(os.path.join(root, "docs", "web-tooltip.png"), "wb") as f:
        f.write(browser.screenshot(box))
print("docs/web-tooltip.png")
