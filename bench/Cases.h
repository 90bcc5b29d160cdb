#pragma once

#include <QStringList>

namespace rawen::bench {

int archive(const QStringList &arguments);
int copyTable(const QStringList &arguments);
int firmList(const QStringList &arguments);
int import(const QStringList &arguments);
int printTable(const QStringList &arguments);
int walkTable(const QStringList &arguments);
int yearCopy(const QStringList &arguments);

} // namespace rawen::bench
