// The caption report's page. Everything it needs is here or embedded by ReportPage: it opens from
// a file, offline, in any browser, and reads without its script too (the script only filters).

#include "kelcaption/ReportTemplate.h"

namespace kelcaption {

std::string_view ReportTemplate() {
  return R"page(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="kelcaption report">
<title>Caption report: {{FILE}}</title>
<style>
:root { --ink: #1d1f21; --muted: #5f6368; --line: #d8dadc; --bar: #3f7fbf; --flag: #c8331e; --bg: #fafafa; }
* { box-sizing: border-box; }
body { margin: 0; padding: 16px 24px 48px; font: 14px/1.4 "DejaVu Sans", "Helvetica Neue", Arial, sans-serif; color: var(--ink); background: var(--bg); }
h1 { font-size: 20px; margin: 0 0 4px; }
h2 { font-size: 16px; margin: 24px 0 8px; border-bottom: 1px solid var(--line); padding-bottom: 4px; }
.facts { display: flex; flex-wrap: wrap; gap: 4px 24px; margin: 0; color: var(--muted); }
.facts div { display: flex; gap: 6px; }
.facts dt::after { content: ":"; }
.facts dd { margin: 0; color: var(--ink); }
table.summary { border-collapse: collapse; min-width: 520px; }
table.summary th, table.summary td { text-align: left; padding: 3px 10px; border-bottom: 1px solid var(--line); }
table.summary td.count { text-align: right; font-variant-numeric: tabular-nums; }
table.summary tr.flagged td.count { color: var(--flag); font-weight: bold; }
table.summary tr.flagged { cursor: pointer; }
table.summary tr.chosen { background: #fde7e3; }
details.check { margin: 4px 0; }
details.check ol { margin: 4px 0; padding-left: 28px; max-height: 240px; overflow: auto; }
.timeline { overflow-x: auto; border: 1px solid var(--line); background: #fff; }
.timeline svg { display: block; }
.timeline .lane-name { font-size: 12px; fill: var(--muted); }
.timeline .tick { stroke: var(--line); }
.timeline .tick-label { font-size: 11px; fill: var(--muted); }
.timeline rect.bar { fill: var(--bar); stroke: #fff; stroke-width: 0.5; }
.timeline rect.bar.flagged { fill: var(--flag); }
.timeline a:hover rect.bar { opacity: 0.7; }
.timeline rect.outside { fill: #eee; }
.notes li { margin: 2px 0; }
.where { font-family: "DejaVu Sans Mono", monospace; color: var(--muted); }
.states { display: grid; grid-template-columns: repeat(auto-fill, calc({{PICTURE_WIDTH}}px + 18px)); gap: 12px; }
.state { background: #fff; border: 1px solid var(--line); border-radius: 4px; padding: 8px; scroll-margin-top: 16px; }
.state:target { outline: 3px solid var(--bar); }
.state.flagged { border-color: var(--flag); }
.state .picture { display: block; position: relative; overflow: hidden; width: 100%; aspect-ratio: {{PICTURE_WIDTH}} / {{PICTURE_HEIGHT}}; background: #5a5a5a; }
.state .picture img { position: absolute; display: block; height: auto; }
.state h3 { font-size: 14px; margin: 6px 0 2px; }
.state .times { font-family: "DejaVu Sans Mono", monospace; font-size: 12px; color: var(--muted); }
.state pre { white-space: pre-wrap; margin: 4px 0; font: 13px/1.35 "DejaVu Sans", sans-serif; }
.state pre.none { color: var(--muted); font-style: italic; }
.state ul.flags { margin: 4px 0 0; padding-left: 18px; color: var(--flag); font-size: 12px; }
.hidden { display: none; }
#filter-note { color: var(--muted); }
</style>
</head>
<body>
<header>
<h1>Caption report</h1>
<dl class="facts">{{FACTS}}</dl>
</header>
<h2 id="checks">Checks</h2>
<table class="summary">
<thead><tr><th>Check</th><th>States flagged</th></tr></thead>
<tbody>{{SUMMARY}}</tbody>
</table>
{{CHECK_LISTS}}
<h2 id="timeline">Timeline</h2>
<div class="timeline">{{TIMELINE}}</div>
<h2 id="notes">Not shown as asked</h2>
{{NOTES}}
<h2 id="states-heading">States <span id="filter-note"></span></h2>
<div class="states" id="states">
{{STATES}}
</div>
<script>
"use strict";
(function () {
  var states = document.querySelectorAll(".state");
  var rows = document.querySelectorAll("table.summary tr.flagged");
  var note = document.getElementById("filter-note");
  var chosen = null;
  function show(check) {
    chosen = chosen === check ? null : check;
    var shown = 0;
    states.forEach(function (state) {
      var flags = (state.getAttribute("data-flags") || "").split(" ");
      var keep = chosen === null || flags.indexOf(chosen) >= 0;
      state.classList.toggle("hidden", !keep);
      if (keep) shown += 1;
    });
    rows.forEach(function (row) { row.classList.toggle("chosen", row.getAttribute("data-check") === chosen); });
    note.textContent = chosen === null ? "" : "(" + shown + " flagged by " + chosen + "; click the row again for all)";
  }
  rows.forEach(function (row) {
    row.addEventListener("click", function () { show(row.getAttribute("data-check")); });
  });
  document.documentElement.setAttribute("data-report-ready", String(states.length));
})();
</script>
</body>
</html>
)page";
}

}  // namespace kelcaption
