#include "scenario/reports/junit_report.h"

#include <QString>
#include <QXmlStreamWriter>
#include <cstdio>

#include "cli/output_file.h"

namespace {

std::string seconds(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", s);
    return text;
}

void attribute(QXmlStreamWriter& xml, const char* name, const std::string& value)
{
    xml.writeAttribute(QLatin1String(name), QString::fromStdString(CJunitReport::XmlSafe(value)));
}

void attribute(QXmlStreamWriter& xml, const char* name, int value)
{
    xml.writeAttribute(QLatin1String(name), QString::number(value));
}

// A failure or an error, with the printed line as its message and text.
void outcome(QXmlStreamWriter& xml, const char* kind, const std::string& text)
{
    xml.writeStartElement(QLatin1String(kind));
    attribute(xml, "message", text);
    xml.writeCharacters(QString::fromStdString(CJunitReport::XmlSafe(text)));
    xml.writeEndElement();
}

struct CCounts {
    int tests = 0;
    int failures = 0;
    int errors = 0;
};

CCounts counts_of(const CFileResult& file)
{
    CCounts n;
    // The file's own error (it did not run, or one of its outputs failed) is one testcase more.
    const int own = file.ran && file.error.empty() ? 0 : 1;
    n.tests = static_cast<int>(file.results.size()) + own;
    n.errors = own;
    for (const CScenarioResult& r : file.results) {
        n.errors += r.error;
        n.failures += !r.error && !r.held;
    }
    return n;
}

void testcase(QXmlStreamWriter& xml, const CFileResult& file, const CScenarioResult& r)
{
    xml.writeStartElement(QLatin1String("testcase"));
    attribute(xml, "classname", file.file);
    attribute(xml, "name", file.file + ":" + std::to_string(r.line) + " " + r.what);
    attribute(xml, "time", seconds(r.seconds));
    if (r.error || !r.held)
        outcome(xml, r.error ? "error" : "failure", file.Line(r));
    xml.writeEndElement();
}

void testsuite(QXmlStreamWriter& xml, const CFileResult& file)
{
    const CCounts n = counts_of(file);
    xml.writeStartElement(QLatin1String("testsuite"));
    attribute(xml, "name", file.file);
    if (!file.timestamp.empty())
        attribute(xml, "timestamp", file.timestamp);
    attribute(xml, "tests", n.tests);
    attribute(xml, "failures", n.failures);
    attribute(xml, "errors", n.errors);
    attribute(xml, "time", seconds(file.seconds));
    for (const CScenarioResult& r : file.results)
        testcase(xml, file, r);
    if (!file.ran || !file.error.empty()) {
        xml.writeStartElement(QLatin1String("testcase"));
        attribute(xml, "classname", file.file);
        attribute(xml, "name", file.file);
        outcome(xml, "error", file.error.empty() ? file.file + ": not run" : file.error);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

}  // namespace

std::string CJunitReport::XmlSafe(const std::string& text)
{
    QString safe = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : safe) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || u == 0xFFFE || u == 0xFFFF)
            c = QChar(0xFFFD);
    }
    return safe.toStdString();
}

std::string CJunitReport::Xml(const std::vector<CFileResult>& files)
{
    CCounts total;
    double time = 0;
    for (const CFileResult& file : files) {
        const CCounts n = counts_of(file);
        total.tests += n.tests;
        total.failures += n.failures;
        total.errors += n.errors;
        time += file.seconds;
    }
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QLatin1String("testsuites"));
    attribute(xml, "name", "trelvik-scenario");
    attribute(xml, "tests", total.tests);
    attribute(xml, "failures", total.failures);
    attribute(xml, "errors", total.errors);
    attribute(xml, "time", seconds(time));
    for (const CFileResult& file : files)
        testsuite(xml, file);
    xml.writeEndDocument();
    return bytes.toStdString();
}

bool CJunitReport::Write(const std::string& path, const std::vector<CFileResult>& files, std::string& error)
{
    const std::string xml = Xml(files);
    return COutputFile::WriteWhole(path, xml.data(), xml.size(), error);
}
