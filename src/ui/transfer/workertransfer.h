#pragma once

#include "link/transferobserver.h"
#include "transfer/queuedobservers.h"
#include "transfer/transferinput.h"

#include <QEventLoop>
#include <QThread>
#include <exception>
#include <memory>

// Runs one transfer on a thread of its own with its own port. The window's
// thread keeps painting and shows what `shown` is told, while the input block
// drops the user's input; a failure of the transfer is thrown again here, once
// the block has ended, so that its message box takes input.
template <class Transfer>
void runOnWorkerThread(QObject *context, TransferObserver &shown, bool &transferRunning, Transfer &&transfer)
{
    std::exception_ptr failure;
    {
        const TransferInputBlock block(transferRunning);
        QueuedTransferObserver view(context, shown);
        QEventLoop loop;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            try {
                transfer(view);
            } catch (...) {
                failure = std::current_exception();
            }
        }));
        QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        worker->start();
        loop.exec();
        worker->wait();
    }
    if (failure)
        std::rethrow_exception(failure);
}
