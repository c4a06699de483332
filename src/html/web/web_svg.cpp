// web_svg: bars and line charts as SVG text.
#include "html/web/web_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "html/web/web_text.h"

// A coordinate or label to a tenth, without ".0"; appended in place (a
// chart of a long game has thousands of them).
static void append_number(std::string& out, double v) {
    if (!std::isfinite(v)) v = 0;
    long long tenths = std::llround(std::max(-1e15, std::min(1e15, v)) * 10);
    if (tenths < 0) {
        out += '-';
        tenths = -tenths;
    }
    char digits[24];
    char* p = digits + sizeof digits;
    if (tenths % 10 != 0) {
        *--p = static_cast<char>('0' + tenths % 10);
        *--p = '.';
    }
    long long whole = tenths / 10;
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole);
    out.append(p, static_cast<size_t>(digits + sizeof digits - p));
}

static std::string number(double v) {
    std::string s;
    append_number(s, v);
    return s;
}

std::string svg_bar(double share) {
    if (!(share > 0)) share = 0;
    if (share > 1) share = 1;
    return "<svg class=\"chart spark\" viewBox=\"0 0 100 8\" width=\"100\" height=\"8\" "
           "preserveAspectRatio=\"none\" aria-hidden=\"true\"><rect class=\"grid\" x=\".5\" y=\".5\" "
           "width=\"99\" height=\"7\"/><rect class=\"bar s0\" width=\"" + number(share * 100) + "\" height=\"8\"/></svg>";
}

std::string svg_line_chart(const std::vector<svg_series>& series, const std::string& label,
                           const std::string& x_unit, const std::string& y_unit) {
    const double W = 400, H = 200, left = 40, right = 8, top = 14, bottom = 24;
    const size_t n = std::min<size_t>(series.size(), 8);
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
    bool first = true;
    for (size_t i = 0; i < n; i++)
        for (const auto& p : series[i].points) {
            if (first) x0 = x1 = p.first;
            x0 = std::min(x0, p.first), x1 = std::max(x1, p.first);
            y0 = std::min(y0, p.second), y1 = std::max(y1, p.second);
            first = false;
        }
    if (x1 <= x0) x1 = x0 + 1;
    if (y1 <= y0) y1 = y0 + 1;
    auto X = [&](double x) { return left + (x - x0) / (x1 - x0) * (W - left - right); };
    auto Y = [&](double y) { return top + (y1 - y) / (y1 - y0) * (H - top - bottom); };
    std::string s = "<figure class=\"chart-box\">\n<svg class=\"chart\" role=\"img\" aria-label=\"" +
                    html_text(label) + "\" viewBox=\"0 0 400 200\">\n";
    s += "<line class=\"axis\" x1=\"" + number(left) + "\" y1=\"" + number(Y(y0)) + "\" x2=\"" + number(W - right) +
         "\" y2=\"" + number(Y(y0)) + "\"/>";
    s += "<line class=\"axis\" x1=\"" + number(left) + "\" y1=\"" + number(top) + "\" x2=\"" + number(left) +
         "\" y2=\"" + number(H - bottom) + "\"/>\n";
    if (y0 < 0)
        s += "<line class=\"axis zero\" x1=\"" + number(left) + "\" y1=\"" + number(Y(0)) + "\" x2=\"" +
             number(W - right) + "\" y2=\"" + number(Y(0)) + "\"/>\n";
    s += "<text x=\"" + number(left - 4) + "\" y=\"" + number(top + 4) + "\" text-anchor=\"end\">" + number(y1) +
         "</text>";
    s += "<text x=\"" + number(left + 4) + "\" y=\"" + number(top - 2) + "\">" + html_text(y_unit) + "</text>";
    s += "<text x=\"" + number(left - 4) + "\" y=\"" + number(Y(y0)) + "\" text-anchor=\"end\">" + number(y0) +
         "</text>";
    s += "<text x=\"" + number(left) + "\" y=\"" + number(H - 8) + "\">" + number(x0) + "</text>";
    s += "<text x=\"" + number(W - right) + "\" y=\"" + number(H - 8) + "\" text-anchor=\"end\">" + number(x1) +
         " " + html_text(x_unit) + "</text>";
    s += "\n";
    for (size_t i = 0; i < n; i++) {
        const auto& points = series[i].points;
        if (points.empty()) continue;
        s += "<polyline class=\"line s" + std::to_string(i) + "\" points=\"";
        double last_y = 0;
        bool any = false;
        auto point = [&s](double x, double y) {
            append_number(s, x);
            s += ',';
            append_number(s, y);
            s += ' ';
        };
        for (const auto& p : points) {
            const bool same = any && p.second == last_y;
            if (any && series[i].steps && !same) point(X(p.first), Y(last_y));
            point(X(p.first), Y(p.second));
            last_y = p.second;
            any = true;
        }
        s.back() = '"';
        s += "/>\n";
    }
    s += "</svg>\n<figcaption>\n<ul class=\"legend\">\n";
    for (size_t i = 0; i < n; i++)
        s += "<li class=\"s" + std::to_string(i) + "\"><span class=\"key\" aria-hidden=\"true\">&nbsp;</span>" +
             series[i].name_html + "</li>\n";
    s += "</ul>\n</figcaption>\n</figure>\n";
    return s;
}
