#include "shell/WykazFirm.h"

#include "data/EngineError.h"
#include "data/Table.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace rawen {

namespace {

// The short name of the firm table `sciezka`, or nothing when it does not open.
std::optional<QString> skrot(Table &tabela, const QString &sciezka)
{
    try {
        tabela.close();
        tabela.setTableName(sciezka);
        tabela.open();
        const Field pole = tabela.findField(QStringLiteral("SKROT"));
        const QString tekst = pole.isValid() ? pole.asString() : QString();
        tabela.close();
        return tekst;
    } catch (const EngineError &) {
        tabela.close();
        return std::nullopt;
    }
}

} // namespace

QStringList WykazFirm(const QString &katalogGlowny, Table &tabela)
{
    // Of each firm table only the short name is read.
    struct Pola
    {
        Table &tabela;
        const QStringList poprzednie = tabela.fetchedFields();
        ~Pola() { tabela.setFetchedFields(poprzednie); }
    } pola{tabela};
    tabela.setFetchedFields({QStringLiteral("SKROT")});

    QStringList pozycje;
    const std::optional<QString> firma000 =
        skrot(tabela, katalogGlowny + QStringLiteral("FIRMA.DB"));
    if (!firma000)
        return pozycje;
    pozycje << QStringLiteral("000 ") + *firma000;

    // FIRMA* as a case-blind file system matches it: directories only, hidden ones too.
    const QDir katalog(katalogGlowny);
    const QFileInfoList wpisy = katalog.entryInfoList({QStringLiteral("FIRMA*")},
                                                      QDir::Dirs | QDir::Files | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot,
                                                      QDir::NoSort);
    for (const QFileInfo &wpis : wpisy) {
        if (!wpis.isDir())
            continue;
        const std::optional<QString> nazwa =
            skrot(tabela, wpis.filePath() + QDir::separator() + QStringLiteral("FIRMA.DB"));
        if (nazwa)
            pozycje << wpis.fileName().mid(5, 3) + u' ' + *nazwa;
    }
    return pozycje;
}

} // namespace rawen
