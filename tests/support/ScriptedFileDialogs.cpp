#include "support/ScriptedFileDialogs.h"

#include <gtest/gtest.h>

namespace rawen::test {

ScriptedFileDialogs::ScriptedFileDialogs() : m_previous(FileDialogs::install(this))
{}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    FileDialogs::install(m_previous);
    EXPECT_TRUE(m_script.isEmpty()) << m_script.size() << " scripted answer(s) never asked for";
}

void ScriptedFileDialogs::answerNext(const QString &path)
{
    m_script.append(path);
}

QString ScriptedFileDialogs::saveFileName(const QString &fileName, const QString &defaultSuffix,
                                          const QString &filter)
{
    m_asked.append({fileName, defaultSuffix, filter});
    if (m_script.isEmpty()) {
        ADD_FAILURE() << "unscripted save dialog for " << fileName.toStdString();
        return {};
    }
    return m_script.takeFirst();
}

QString ScriptedFileDialogs::existingDirectory(const QString &caption, const QString &folder)
{
    m_askedDirectories.append({caption, folder});
    if (m_script.isEmpty()) {
        ADD_FAILURE() << "unscripted folder dialog " << caption.toStdString();
        return {};
    }
    return m_script.takeFirst();
}

} // namespace rawen::test
