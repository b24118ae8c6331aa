// The master stylesheet: sizes follow the usual desktop browser's defaults at
// a 16-pixel base font, in the Liberation faces that fontconfig finds.
#include "nyuser/viewers/html_master_css.h"

namespace NyUser::Viewers {

char const* const HtmlMasterCss = R"css(
html { display: block; background-color: #ffffff; }
head, style, script, title, meta, link, base, noscript, template { display: none; }
body { display: block; margin: 8px; color: #000000; font-family: "Liberation Sans"; font-size: 16px;
       line-height: 1.25; }

p, div, address, blockquote, center, dl, dd, dt, figure, figcaption, form, hr, fieldset, legend, main,
section, article, aside, header, footer, nav, pre, h1, h2, h3, h4, h5, h6, ul, ol, menu, dir
    { display: block; }
p, dl, blockquote, figure, pre, ul, ol, menu, dir { margin-top: 1em; margin-bottom: 1em; }
blockquote, figure { margin-left: 40px; margin-right: 40px; }
dd { margin-left: 40px; }
center { text-align: center; }
address { font-style: italic; }

h1 { font-size: 2em; margin-top: 0.67em; margin-bottom: 0.67em; font-weight: bold; }
h2 { font-size: 1.5em; margin-top: 0.83em; margin-bottom: 0.83em; font-weight: bold; }
h3 { font-size: 1.17em; margin-top: 1em; margin-bottom: 1em; font-weight: bold; }
h4 { font-size: 1em; margin-top: 1.33em; margin-bottom: 1.33em; font-weight: bold; }
h5 { font-size: 0.83em; margin-top: 1.67em; margin-bottom: 1.67em; font-weight: bold; }
h6 { font-size: 0.67em; margin-top: 2.33em; margin-bottom: 2.33em; font-weight: bold; }

hr { border-style: inset; border-width: 1px; border-color: #a0a0a0; margin-top: 0.5em; margin-bottom: 0.5em; }

ul, ol, menu, dir { padding-left: 40px; }
ul, menu, dir { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0; }
ul ul ul, ol ul ul, ul ol ul { list-style-type: square; }
ol ol, ul ol { margin-top: 0; margin-bottom: 0; }
li { display: list-item; }

table { display: table; border-collapse: separate; border-spacing: 2px; }
caption { display: table-caption; text-align: center; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
colgroup { display: table-column-group; }
col { display: table-column; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }

b, strong { font-weight: bold; }
i, em, cite, var, dfn { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
big { font-size: 1.17em; }
small { font-size: 0.83em; }
sub { vertical-align: sub; font-size: 0.83em; }
sup { vertical-align: super; font-size: 0.83em; }
pre, code, kbd, samp, tt { font-family: "Liberation Mono"; }
pre { white-space: pre; }
code, kbd, samp, tt { font-size: 0.9em; }
pre code { font-size: 1em; }

a:link, a:visited, a[href] { color: #0645ad; text-decoration: underline; cursor: pointer; }
img { display: inline-block; }
br { display: block; }
)css";

}
