#pragma once
// Precompiled header: the Qt headers nearly every translation unit includes.
#include <QtCore>
#include <QtGui>
#include <QtWidgets>
#include <QtSql>
