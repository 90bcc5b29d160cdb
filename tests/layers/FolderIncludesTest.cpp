// The source folders are layers: each may include the ones below it, and no folder may include
// one that includes it back, directly or through others. A cycle would tie two layers into one
// (the store could not be tested, built or replaced without the logic above it).

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Folder -> the folders it includes, each with the first file that does.
using Includes = QMap<QString, QMap<QString, QString>>;

Includes readIncludes(const QString &root)
{
    Includes includes;
    const QSet<QString> folders = [&] {
        const QStringList list = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return QSet<QString>(list.begin(), list.end());
    }();
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"([^"/]+)/[^"]+")"),
                                            QRegularExpression::MultilineOption);
    QDirIterator files(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = QDir(root).relativeFilePath(path);
        const QString folder = relative.section(u'/', 0, 0);
        if (folder == relative)
            continue; // a file at the top belongs to no layer
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = include.globalMatch(text); match.hasNext();) {
            const QString target = match.next().captured(1);
            if (target != folder && folders.contains(target) && !includes[folder].contains(target))
                includes[folder].insert(target, relative);
        }
    }
    return includes;
}

// A cycle as the files that make it, "a/X.h includes b/..." one per step; empty when none.
QStringList findCycle(const Includes &includes)
{
    QMap<QString, int> state; // 1 on the path, 2 done
    QStringList path;
    QStringList cycle;
    std::function<bool(const QString &)> visit = [&](const QString &folder) {
        state[folder] = 1;
        path << folder;
        for (auto it = includes.value(folder).cbegin(); it != includes.value(folder).cend(); ++it) {
            if (state.value(it.key()) == 1) {
                const qsizetype from = path.indexOf(it.key());
                for (qsizetype i = from; i < path.size(); ++i) {
                    const QString next = i + 1 < path.size() ? path[i + 1] : it.key();
                    cycle << QStringLiteral("%1 includes %2/")
                                 .arg(includes.value(path[i]).value(next), next);
                }
                return true;
            }
            if (state.value(it.key()) == 0 && visit(it.key()))
                return true;
        }
        path.removeLast();
        state[folder] = 2;
        return false;
    };
    for (auto it = includes.cbegin(); it != includes.cend(); ++it) {
        if (state.value(it.key()) == 0 && visit(it.key()))
            return cycle;
    }
    return {};
}

struct Tree
{
    const char *name;
    QList<QPair<QString, QString>> files; // path, text
    QStringList cycle;                    // the files that make it, in any order
};

void PrintTo(const Tree &tree, std::ostream *out)
{
    *out << tree.name;
}

class FolderIncludesTest : public testing::TestWithParam<Tree>
{};

TEST_P(FolderIncludesTest, FindsTheCycleOfASmallTree)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const auto &[path, text] : GetParam().files) {
        const QString full = root.filePath(path);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(full).path()));
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    QStringList found;
    for (const QString &step : findCycle(readIncludes(root.path())))
        found << step.section(u' ', 0, 0);
    found.sort();
    QStringList expected = GetParam().cycle;
    expected.sort();
    EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, FolderIncludesTest,
    testing::Values(
        Tree{"LayersDownOnly",
             {{"store/Store.h", "#include \"platform/Files.h\"\n"},
              {"data/Table.cpp", "#include \"store/Store.h\"\n#include \"platform/Files.h\"\n"},
              {"platform/Files.h", "#include <QString>\n"}},
             {}},
        Tree{"TwoFoldersIncludeEachOther",
             {{"shell/Firmy.cpp", "#include \"year/Rok.h\"\n"},
              {"year/Rok.cpp", "#include \"shell/Firmy.h\"\n"},
              {"shell/Firmy.h", ""}},
             {"shell/Firmy.cpp", "year/Rok.cpp"}},
        Tree{"ThroughAThirdFolder",
             {{"a/A.h", "  #  include \"b/B.h\"\n"},
              {"b/B.cpp", "#include \"c/C.h\"\n"},
              {"c/C.cpp", "#include \"a/A.h\"\n"},
              {"d/D.cpp", "#include \"a/A.h\"\n"}},
             {"a/A.h", "b/B.cpp", "c/C.cpp"}},
        Tree{"OwnFolderGeneratedFormsAndSystemHeadersAreNoLayers",
             {{"shell/Okno.cpp", "#include \"shell/Okno.h\"\n#include \"ui_Okno.h\"\n"
                                 "#include <sqlite3.h>\n#include \"gtest/x.h\"\n"},
              {"shell/Okno.h", ""}},
             {}},
        Tree{"AnIncludeInACommentCountsNot",
             {{"a/A.cpp", "// see #include \"b/B.h\"\n"}, {"b/B.cpp", "#include \"a/A.h\"\n"}},
             {}}),
    [](const testing::TestParamInfo<Tree> &info) { return std::string(info.param.name); });

TEST(FolderIncludes, NoFolderOfTheProgramIncludesOneThatIncludesItBack)
{
    const QStringList cycle = findCycle(readIncludes(QStringLiteral(RAWEN_SOURCE_DIR)));
    EXPECT_TRUE(cycle.isEmpty()) << cycle.join(QStringLiteral("\n")).toStdString();
}

} // namespace
