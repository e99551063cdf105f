#pragma once

#include <gmock/gmock.h>

#include "outside/importruns.h"
#include "outside/shopdataobject.h"
#include "platform/stringtoolsobject.h"
#include "qtprinting.h"

// The shop data object as a GoogleMock, for tests of the procedures that call it.
class MockShopData : public ShopDataObject {
public:
    MOCK_METHOD(bool, IsConnected, (), (override));
    MOCK_METHOD(void, Connect, (), (override));
    MOCK_METHOD(void, SetAppPath, (const QString&), (override));
    MOCK_METHOD(qint32, FindBarcode, (const QString&), (override));
    MOCK_METHOD(bool, MatchItemBarcode, (qint32&, const QString&), (override));
    MOCK_METHOD(bool, GetItemByBarcode, (const QString&, QSqlRecord&), (override));
    MOCK_METHOD(qint32, GetNextOrderNo, (), (override));
    MOCK_METHOD(void, LookupStockItem, (qint32, qint32&, double&), (override));
    MOCK_METHOD(bool, WriteStocktakeQty, (qint32, double, const RunLine&), (override));
    MOCK_METHOD(void, WriteGoodsReceived,
                (qint32, qint32, qint32, const QString&, qint32, const QString&, const RunLine&), (override));
    MOCK_METHOD(std::optional<double>, onHandAfterReceiving, (qint32, const QString&, std::optional<double>),
                (override));
    MOCK_METHOD(bool, WriteOrderQty, (qint32, double, const RunLine&), (override));
    MOCK_METHOD(void, StartGoodsReceived, (qint16, qint16, qint16), (override));
    MOCK_METHOD(std::unique_ptr<StockRows>, openStockRows, (), (override));
    MOCK_METHOD(QStringList, supplierEntries, (), (override));
    MOCK_METHOD(QStringList, supplierOrders, (qint32), (override));
};

// The string tools object as a GoogleMock; tests that only need a working Split use StringTools.
class MockStringTools : public StringToolsObject {
public:
    MOCK_METHOD(TextArray, Split, (const QString&, QChar), (override));
    MOCK_METHOD(QString, ListDataSources, (), (override));
    MOCK_METHOD(void, Checkpoint, (qint32, const QString&), (override));
};

// The shop's record of imports as a GoogleMock.
class MockImportRuns : public ImportRuns {
public:
    MOCK_METHOD(qint64, BeginRun, (const QString&, const QString&, const QString&, qint64, const QString&),
                (override));
    MOCK_METHOD(void, ResumeRun, (qint64, const QString&), (override));
    MOCK_METHOD(void, EndRun, (qint64, qint64), (override));
    MOCK_METHOD(QList<ImportRun>, UnfinishedRuns, (const QString&), (override));
    MOCK_METHOD(std::optional<ImportRun>, EndedRunOfFile, (const QString&, const QString&), (override));
    MOCK_METHOD(QList<ImportRun>, Runs, (), (override));
    MOCK_METHOD(QString, UndoRun, (qint64), (override));
    MOCK_METHOD(void, Variance, (qint64, const std::function<void(const ItemVariance&)>&), (override));
};
