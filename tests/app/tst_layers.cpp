// The layers of the source tree: an include never points up. From the
// ground: base, i18n, data, reports, catalogue, admin, then circulation
// and acquisitions side by side (neither includes the other), statistics
// and the public catalogue side by side, app. A core file never includes a screen's header.

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

int layer(const QString &module)
{
    static const QHash<QString, int> layers{{QStringLiteral("base"), 0},        {QStringLiteral("i18n"), 1},
                                            {QStringLiteral("data"), 2},        {QStringLiteral("reports"), 3},
                                            {QStringLiteral("catalogue"), 4},   {QStringLiteral("admin"), 5},
                                            {QStringLiteral("circulation"), 6}, {QStringLiteral("acquisitions"), 6},
                                            {QStringLiteral("statistics"), 7},  {QStringLiteral("opac"), 7},
                                            {QStringLiteral("app"), 8}};
    return layers.value(module, -1);
}

} // namespace

class TstLayers : public QObject
{
    Q_OBJECT

private slots:
    void includesPointDown()
    {
        const QString src = QStringLiteral(FOLIAN_SOURCE_DIR "/src/");
        static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"(([a-z0-9]+)/[^\"]*)\""),
                                                QRegularExpression::MultilineOption);
        QStringList wrong;
        int files = 0;
        QDirIterator it(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = path.mid(src.size());
            const QString module = relative.section(u'/', 0, 0);
            const bool screen = relative.contains(QLatin1String("/widgets/")) || module == QLatin1String("app");
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            ++files;
            const QString text = QString::fromUtf8(f.readAll());
            for (auto m = include.globalMatch(text); m.hasNext();) {
                const QRegularExpressionMatch found = m.next();
                const QString target = found.captured(2);
                if (layer(target) < 0)
                    continue;
                const bool up = layer(target) > layer(module) || (layer(target) == layer(module) && target != module);
                const bool screenInCore = !screen && found.captured(1).contains(QLatin1String("/widgets/"));
                if (up || screenInCore)
                    wrong << relative + QStringLiteral(": ") + found.captured(1);
            }
        }
        QVERIFY(files > 100);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TstLayers)
#include "tst_layers.moc"
