// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Messages.h"

#include "Version.h"

#include <QMessageBox>

namespace
{
QList<Messages::Answer>& presetAnswers()
{
    static QList<Messages::Answer> answers;
    return answers;
}

std::function<Messages::Answer(const QString&)>& responder()
{
    static std::function<Messages::Answer(const QString&)> answerer;
    return answerer;
}

QStringList& shownTexts()
{
    static QStringList texts;
    return texts;
}
} // namespace

QString Messages::title()
{
    return QStringLiteral("Tintwell v") + QLatin1String(Version::shown);
}

bool Messages::askYesNo(QWidget* parent, const QString& question)
{
    Answer answer = Answer::No;
    if (takePreset(question, &answer))
        return answer == Answer::Yes;
    // Every question is about throwing something away, so Return alone must not do it.
    return QMessageBox::warning(parent, title(), question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

bool Messages::ask(QWidget* parent, const QString& question)
{
    Answer answer = Answer::No;
    if (takePreset(question, &answer))
        return answer == Answer::Yes;
    return QMessageBox::question(parent, title(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void Messages::warn(QWidget* parent, const QString& text)
{
    Answer answer = Answer::Ok;
    if (takePreset(text, &answer))
        return;
    QMessageBox::warning(parent, title(), text);
}

void Messages::inform(QWidget* parent, const QString& text)
{
    Answer answer = Answer::Ok;
    if (takePreset(text, &answer))
        return;
    QMessageBox::information(parent, title(), text);
}

void Messages::answerNext(Answer answer)
{
    presetAnswers().append(answer);
}

int Messages::pendingAnswers()
{
    return presetAnswers().size();
}

QStringList Messages::takeShown()
{
    QStringList texts;
    texts.swap(shownTexts());
    return texts;
}

void Messages::clearAnswers()
{
    presetAnswers().clear();
    shownTexts().clear();
    responder() = nullptr;
}

void Messages::setResponder(std::function<Answer(const QString& text)> answerer)
{
    responder() = std::move(answerer);
}

bool Messages::takePreset(const QString& text, Answer* answer)
{
    if (!presetAnswers().isEmpty())
        *answer = presetAnswers().takeFirst();
    else if (responder())
        *answer = responder()(text);
    else
        return false;
    shownTexts().append(text);
    return true;
}
