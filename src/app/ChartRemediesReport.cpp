#include "app/ChartRemediesReport.h"

#include "foundations/Cp1252.h"
#include "foundations/Vocabulary.h"

namespace athanor {

namespace {

std::string escaped(std::string_view utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string html(std::string_view cp1252) { return escaped(cp1252ToUtf8(cp1252)); }

const char* conditionWords(std::uint8_t code) {
    switch (code) {
    case condition::Domicile:
        return "domicilio";
    case condition::Exaltation:
        return "exaltación";
    case condition::Exile:
        return "exilio";
    case condition::Fall:
        return "caída";
    case condition::Reception:
        return "recepción";
    default:
        return "sin condición";
    }
}

}  // namespace

std::string structureLine(const ChartRemedies& found, int planet) {
    const int sign = found.signs[planet];
    std::string line = cp1252ToUtf8(kChartBodyNames[planet]);
    if (sign >= 1 && sign <= 12) line += " en " + cp1252ToUtf8(kSignNames[sign]);
    const StructureRow& row = found.structure.rows[planet];
    line += std::string(": ") + conditionWords(row.code);
    if (row.code == condition::Reception) {
        switch (row.group) {
        case reception::FirstPair:
        case reception::SecondPair:
        case reception::ThirdPair:
            line += " mutua";
            break;
        case reception::Triple:
            line += " entre tres planetas";
            break;
        case reception::Quadruple:
            line += " entre cuatro planetas";
            break;
        case reception::Quintuple:
            line += " entre cinco planetas";
            break;
        default:
            break;
        }
    }
    return line;
}

std::string chartRemediesHtml(const ChartRemedies& found, const std::array<std::string, 6>& subject,
                              const std::string& practitioner, const std::string& date) {
    std::string h = "<html><body>";
    h += "<h2>Remedios para el tema</h2><p>";
    for (const auto& line : subject)
        if (!line.empty()) h += html(line) + "<br>";
    h += "</p>";
    if (!practitioner.empty() || !date.empty())
        h += "<p><i>" + escaped(practitioner) + (practitioner.empty() || date.empty() ? "" : " — ") + escaped(date) +
             "</i></p>";

    h += "<h3>Estructura arquetípica</h3><ul>";
    for (int p = 1; p <= kTraditionalPlanets; ++p) h += "<li>" + escaped(structureLine(found, p)) + "</li>";
    h += "</ul>";

    h += "<h3>Debilidades</h3>";
    if (found.weaknesses.empty()) {
        h += "<p>Ningún planeta está en exilio, en caída ni sin condición.</p>";
    } else {
        h += "<ol>";
        for (const auto& w : found.weaknesses) h += "<li>" + html(w.reason) + "</li>";
        h += "</ol>";
    }

    h += "<h3>Remedios</h3>";
    if (found.remedies.empty()) h += "<p>Ningún remedio de la base responde a estas debilidades.</p>";
    for (const auto& r : found.remedies) {
        h += "<p><b>" + html(r.name) + "</b> — responde a ";
        for (std::size_t i = 0; i < r.answers.size(); ++i) {
            if (i) h += ", ";
            const auto& w = found.weaknesses[static_cast<std::size_t>(r.answers[i])];
            h += html(w.planet) + " (" + html(w.weakenedSign) + ")";
        }
        h += "<br>Signatura: " + html(r.record.primarySignature);
        if (!r.record.secondarySignature.empty()) h += " / " + html(r.record.secondarySignature);
        h += " — " + html(r.record.zodiacSignature);
        if (const auto indication = r.record.indicationText(); !indication.empty())
            h += "<br>Indicaciones: " + html(indication);
        if (const auto warnings = r.record.warningsText(); !warnings.empty())
            h += "<br><b>Advertencias:</b> " + html(warnings);
        if (!r.pathologies.empty()) {
            h += "<br>Patologías del repertorio: ";
            for (std::size_t i = 0; i < r.pathologies.size(); ++i) h += (i ? ", " : "") + html(r.pathologies[i]);
        }
        h += "</p>";
    }
    h += "<hr><p><small>Las correspondencias entre planetas, signos y remedios son las de la tradición "
         "espagírica; no son un diagnóstico. La prescripción corresponde al profesional.</small></p>";
    h += "</body></html>";
    return h;
}

}  // namespace athanor
