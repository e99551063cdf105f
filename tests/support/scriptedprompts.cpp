#include "scriptedprompts.h"

#include <gtest/gtest.h>

void ScriptedPrompts::notice(const QString& text) {
    shown << text;
}

void ScriptedPrompts::criticalNotice(const QString& text) {
    shown << text;
    critical << text;
}

bool ScriptedPrompts::question(const QString& text) {
    shown << text;
    if (answers_.isEmpty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    return answers_.dequeue();
}

QString ScriptedPrompts::openFileName(const QString& fileName, const QString& filter, const QString& title) {
    fileDialogs << title + QLatin1Char('|') + fileName + QLatin1Char('|') + filter;
    if (files_.isEmpty()) {
        ADD_FAILURE() << "unscripted file dialog: " << title.toStdString();
        return fileName;
    }
    return files_.dequeue();
}

QString ScriptedPrompts::saveFileName(const QString& fileName, const QString& filter, const QString& title) {
    return openFileName(fileName, filter, title);
}
