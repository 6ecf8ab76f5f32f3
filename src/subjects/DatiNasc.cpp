#include "subjects/DatiNasc.h"

#include "foundations/TextFile.h"
#include "subjects/BirthStamp.h"
#include "subjects/SubjectChart.h"

namespace athanor {

void writeChartHandOff(const DataRoot& root, const ChartHandOff& subject, const ChartState& chart) {
    TextWriter out;
    out.line(subject.name.substr(0, 38));
    out.line(subject.birthStamp);
    out.line(subject.placeText);
    out.line(subject.houseSystem);
    out.real(subject.julianDay);
    for (int i = 1; i <= 22; ++i) out.real(chart.BodyLongitude[i]);
    for (int k = 0; k < 12; ++k) out.real(chart.HouseCusp[k]);
    out.line("LATITUDINI");
    for (int i = 1; i <= 12; ++i) out.real(chart.BodyLatitude[i]);
    out.line("RETROGRADI");
    for (int i = 1; i <= 22; ++i) out.line(chart.RetroMark[i] == 'r' ? "r" : " ");
    for (int i = 13; i <= 22; ++i) out.real(chart.BodyLatitude[i]);
    out.save(root.resolveForWriting(kChartHandOffFile));
}

ChartHandOff readChartHandOff(const DataRoot& root) {
    TextReader in(root.resolve(kChartHandOffFile));
    ChartHandOff h;
    h.name = in.line().substr(0, 80);
    h.birthStamp = in.line().substr(0, 80);
    h.placeText = in.line().substr(0, 80);
    h.houseSystem = in.line();
    h.julianDay = in.real();
    return h;
}

void setHandOffInstant(ChartState& chart, const ChartHandOff& h) {
    const StampDate date = stampDate(h.birthStamp);
    setPlace(chart, decodeCoordText(h.placeText.substr(0, 12)));
    chart.Hour = date.hour;
    chart.Minute = date.minute;
    chart.TimeCorrection = stampCorrection(h.birthStamp);
    chart.ChartJulianDay = h.julianDay;
}

}  // namespace athanor
