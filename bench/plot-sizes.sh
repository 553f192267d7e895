#!/bin/sh
# Draws time against project size as an SVG line chart, from a CSV whose first column is the
# number of lines and whose other columns are times in milliseconds, one series a column, with
# a header row naming them:
#   bench/plot-sizes.sh sizes.csv > plot.svg
# Plain awk, so that the bench needs no plotting package.
set -eu
awk -F, '
NR == 1 { series = NF - 1; for (s = 1; s <= series; ++s) name[s] = $(s + 1); next }
{
  n++; x[n] = $1; if ($1 > xmax) xmax = $1
  for (s = 1; s <= series; ++s) { y[n, s] = $(s + 1); if ($(s + 1) > ymax) ymax = $(s + 1) }
}
END {
  W = 640; H = 400; L = 70; R = 190; T = 30; B = 50
  pw = W - L - R; ph = H - T - B
  step = 100; while (ymax / step > 8) step *= 2  # about eight lines across the plot
  ytop = step * int((ymax + step - 1) / step)
  split("#1f77b4 #2ca02c #d62728 #7f7f7f", colour, " ")
  printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" font-family=\"sans-serif\" font-size=\"12\">\n", W, H
  printf "<rect width=\"%d\" height=\"%d\" fill=\"white\"/>\n", W, H
  printf "<text x=\"%d\" y=\"18\" text-anchor=\"middle\">Median time against project size</text>\n", L + pw / 2
  for (v = 0; v <= ytop; v += step) {
    py = T + ph - ph * v / ytop
    printf "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#ddd\"/>\n", L, py, L + pw, py
    printf "<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">%d ms</text>\n", L - 6, py + 4, v
  }
  for (i = 1; i <= n; ++i) {
    px = L + pw * x[i] / xmax
    printf "<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#ddd\"/>\n", px, T, px, T + ph
    printf "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%gk</text>\n", px, T + ph + 18, x[i] / 1000
  }
  printf "<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">source lines</text>\n", L + pw / 2, H - 8
  printf "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"black\"/>\n", L, T, pw, ph
  for (s = 1; s <= series; ++s) {
    points = ""
    for (i = 1; i <= n; ++i) {
      px = L + pw * x[i] / xmax; py = T + ph - ph * y[i, s] / ytop
      points = points sprintf("%.1f,%.1f ", px, py)
      printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"%s\"/>\n", px, py, colour[s]
    }
    printf "<polyline points=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"2\"/>\n", points, colour[s]
    ly = T + 10 + 20 * (s - 1)
    printf "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"%s\" stroke-width=\"2\"/>\n", L + pw + 12, ly, L + pw + 32, ly, colour[s]
    printf "<text x=\"%d\" y=\"%d\">%s</text>\n", L + pw + 38, ly + 4, name[s]
  }
  print "</svg>"
}' "$1"
