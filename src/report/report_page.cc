#include "report/report_page.h"

#include "report/report_text.h"

// The report is UTF-8, and so are the texts of this file, unlike the
// Windows-1252 texts of the core.

namespace kw {

namespace {

const char kStyle[] =
    "body{font-family:\"DejaVu Sans\",Arial,sans-serif;font-size:14px;color:#222;margin:1.5em}\n"
    "h1{font-size:1.6em;margin:0 0 .2em}\n"
    "h2{font-size:1.25em;margin:1.8em 0 .4em;border-bottom:2px solid #7a9cc6}\n"
    "h3{font-size:1.05em;margin:1.2em 0 .3em}\n"
    "table{border-collapse:collapse;margin:.4em 0}\n"
    "th,td{border:1px solid #c8c8c8;padding:.2em .45em;text-align:left;vertical-align:top}\n"
    "thead th{background:#e8eef6}\n"
    "table.daten thead tr:last-child th{cursor:pointer}\n"
    "th[aria-sort=ascending]::after{content:\" \\25B2\"}\n"
    "th[aria-sort=descending]::after{content:\" \\25BC\"}\n"
    "tr.pruefen td{background:#fff1c2}\n"
    "td.anders{color:#a30000;font-weight:bold}\n"
    "td.befund{white-space:pre-wrap;font-family:\"DejaVu Sans Mono\",monospace;font-size:12px}\n"
    "td.zahl{text-align:right}\n"
    "td[data-k]{white-space:nowrap}\n"
    "table.daten{font-size:13px}\n"
    "#paare td:nth-child(13){min-width:9em}\n"
    ".hinweis{color:#555;max-width:60em}\n"
    ".mehr{font-weight:bold}\n"
    "#filter{margin:1em 0;padding:.5em;background:#f4f4f4;border:1px solid #ddd}\n"
    "#filter input{font-size:1em;width:20em}\n";

// Filters every table of class "daten" by the text of its rows (case does
// not count) and sorts one by a column when its heading is clicked: by a
// cell's data-k number where it has one, else by its text.
const char kScript[] =
    "(function(){\n"
    "var box=document.getElementById('filter');box.hidden=false;\n"
    "var input=document.getElementById('filtertext');\n"
    "var tables=[].slice.call(document.querySelectorAll('table.daten'));\n"
    "input.addEventListener('input',function(){\n"
    " var q=input.value.trim().toLowerCase(),shown=0,all=0;\n"
    " tables.forEach(function(t){[].forEach.call(t.tBodies[0].rows,function(r){\n"
    "  var "
    "hit=!q||r.textContent.toLowerCase().indexOf(q)>=0;r.hidden=!hit;all++;if(hit)shown++;});});\n"
    " document.getElementById('filterzahl').textContent=q?shown+' von '+all+' Zeilen':'';\n"
    "});\n"
    "function key(c){var k=c.getAttribute('data-k');return k===null?c.textContent:Number(k);}\n"
    "function sort(t,col,th){\n"
    " var dir=th.getAttribute('aria-sort')==='ascending'?-1:1;\n"
    " [].forEach.call(th.parentNode.cells,function(c){c.removeAttribute('aria-sort');});\n"
    " th.setAttribute('aria-sort',dir>0?'ascending':'descending');\n"
    " var body=t.tBodies[0],rows=[].slice.call(body.rows);\n"
    " rows.sort(function(a,b){var x=key(a.cells[col]),y=key(b.cells[col]);\n"
    "  return dir*(typeof x==='number'&&typeof "
    "y==='number'?x-y:String(x).localeCompare(String(y),'de'));});\n"
    " rows.forEach(function(r){body.appendChild(r);});\n"
    "}\n"
    "tables.forEach(function(t){var head=t.tHead.rows[t.tHead.rows.length-1];\n"
    " [].forEach.call(head.cells,function(th,col){th.title='Sortieren';\n"
    "  th.addEventListener('click',function(){sort(t,col,th);});});});\n"
    "})();\n";

}  // namespace

void AppendPageStart(std::string_view title, std::string& out) {
  out += "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  AppendHtml(title, out);
  out += "</title>\n<style>\n";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n";
}

void AppendFilterBox(std::string& out) {
  out +=
      "<div id=\"filter\" hidden><label>Filter (Name oder Jahr): "
      "<input type=\"search\" id=\"filtertext\" autocomplete=\"off\"></label> "
      "<span id=\"filterzahl\"></span> <span class=\"hinweis\">Ein Klick auf eine "
      "Spaltenüberschrift sortiert.</span></div>\n"
      "<noscript><p class=\"hinweis\">Filter und Sortierung brauchen JavaScript; "
      "lesbar sind die Tabellen auch ohne.</p></noscript>\n";
}

void AppendPageEnd(std::string& out) {
  out += "<script>\n";
  out += kScript;
  out += "</script>\n</body>\n</html>\n";
}

}  // namespace kw
