#pragma once
#include "document/CKelto4Doc.h"
#include "model/CSpellingList.h"
#include "platform/CControlIds.h"
#include "platform/CFormView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Small helpers for tests that drive pages through their real controls.
inline void AddWords(CKelto4Doc& doc, const std::vector<std::string>& words, const std::string& folder = "/tmp",
                     const std::string& author = "")
{
    for (const std::string& w : words) {
        auto entry = std::make_unique<CSpellingList>();
        entry->m_author = author;
        entry->m_soundFolder = folder;
        entry->m_word = w;
        doc.m_wordList.push_back(std::move(entry));
    }
}

inline void Click(QWidget* page, int id)
{
    auto* button = FindControl<QAbstractButton>(page, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    ASSERT_TRUE(button->isEnabled()) << "button " << id << " is disabled";
    button->click();
    QApplication::processEvents();
}

inline bool IsEnabled(QWidget* page, int id)
{
    QWidget* w = FindControl<QWidget>(page, id);
    return w && w->isEnabled();
}

inline std::string TextOf(QWidget* page, int id)
{
    QWidget* w = FindControl<QWidget>(page, id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text().toStdString();
    if (auto* multi = qobject_cast<QTextEdit*>(w))
        return multi->toPlainText().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().toStdString();
    return std::string();
}

inline void TypeInto(QWidget* page, int id, const QString& text)
{
    auto* edit = FindControl<QLineEdit>(page, id);
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}
