// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every question and warning Tintwell shows, so they all look alike.
//
// Tests answer them through a queue of preset answers instead of racing a modal box:
// while an answer is queued no box is shown, the box's text is recorded and the
// answer is taken. With the queue empty, a responder (for programs that run Tintwell
// unattended) answers; without one the real box opens.
class Messages
{
public:
    enum class Answer { Yes, No, Ok };

    static QString title();
    // A modal warning box with Yes then No; only Yes goes ahead.
    static bool askYesNo(QWidget* parent, const QString& question);
    // A question that throws nothing away: a question box with Yes then No, Yes first.
    static bool ask(QWidget* parent, const QString& question);
    static void warn(QWidget* parent, const QString& text);
    // News that needs no warning sign: what an action did.
    static void inform(QWidget* parent, const QString& text);

    // For tests only: the answers given in advance, and what was shown meanwhile. The
    // program itself never queues an answer.
    static void answerNext(Answer answer);
    static int pendingAnswers();
    // The texts of the boxes answered from the queue since the last call.
    static QStringList takeShown();
    // Clears the queue, the recorded texts and the responder.
    static void clearAnswers();
    // For test programs that run the whole start-up unattended: answers every box the
    // queue does not, by its text, until cleared.
    static void setResponder(std::function<Answer(const QString& text)> responder);

private:
    static bool takePreset(const QString& text, Answer* answer);
};
