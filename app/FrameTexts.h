#pragma once
// The search windows' own texts: hints, guard messages and questions.

#include <QString>
#include <cstdint>

#include "ProductInfo.h"

namespace dravel::app::texts {

inline const QString kHintDriveSelection = QStringLiteral(
    "Select the Drive (from which you want to recover data) from the List of available Physical or Logical Drives in "
    "the left Panel. In case of Deleted or missing Partitions, click on 'Search More Partitions' button to find lost "
    "drives. Select the Drive and click 'Next' Button to continue...");
inline const QString kHintScanning = QStringLiteral(
    "You can stop searching Files and Folders by clicking on 'Stop' button. However, it is strongly recommended that "
    "you should allow the software to complete the searching Process.");
inline const QString kHintResults = QStringLiteral(
    "Select Files and Folders from left Panel Directories Tree and Click on 'Save' button to save recovered Files and "
    "Folders.");
inline const QString kSelectDriveHeading = QStringLiteral("Select drive to start recovery...");

inline const QString kSelectDriveFirst = QStringLiteral(
    "First you need to select Physical or Logical Drive from the Tree, which you want to recover.");
inline const QString kScanStillGoingBack = QStringLiteral(
    "Disk scanning process is still going on.\n\nPlease allow the scanning process to be completed or you can also "
    "cancel the scanning by clicking on ‘Stop’ button.");
inline const QString kRefreshInProgress = QStringLiteral(
    "Disk scanning process is in progress.\n\nYou can refresh the list of Drives only before starting the scanning "
    "process.");
inline const QString kSaveLogNoResult = QStringLiteral(
    "To save the Log (index of recovered files and folders) of recovery, first you need to scan the drive and recover "
    "the lost data.");
inline const QString kSaveLogScanRunning = QStringLiteral(
    "Disk scanning process is still going on.\n\nTo save the Log (index of recovered files and folders) of recovery, "
    "please allow the scanning process to be completed.");
inline const QString kLoadLogAfterResult = QStringLiteral(
    "Recovery log cannot be loaded at this stage.\n\nIf you have previously saved Log (index of recovered files and "
    "folders) file of Kestavine Recovery and want to load the recovery results from Log instead , click on ‘Back’ "
    "button and load Log from previous screen.");
inline const QString kLoadLogScanRunning = QStringLiteral(
    "Disk scanning process is still going on.\n\nIf you have previously saved Log (index of recovered files and "
    "folders) file of Kestavine Recovery and want to load the recovery results from Log instead of scanning the "
    "drive, you can cancel the scanning by clicking on ‘Stop’ button.");
inline const QString kSaveNoResult = QStringLiteral(
    "Saving function is not available at this step.\n\nTo save recovered data, first you need to scan the drive and "
    "recover the lost data.\n\nSelect the Drive from tree and click next to continue.");
inline const QString kSaveScanRunning = QStringLiteral(
    "Disk scanning process is still going on.\n\nTo save recovered data, please allow the scanning process to be "
    "completed.");
inline const QString kSaveLogQuestion = QStringLiteral(
    "Do you want to save the Recovery scanning Log (index of recovered files and folders) file?\n\nIf you have "
    "previously saved Log file of Kestavine Recovery, you can directly load the recovery results from Log instead of "
    "scanning the drive again.");
inline QString exitQuestion() { return QStringLiteral("Do you want to exit from ") + productTitle() + QStringLiteral("?"); }
inline const QString kSelectFileSystem = QStringLiteral("Select file system type for recovery of selected drive.");
inline const QString kValidatingPartition = QStringLiteral("Validating Partition ...");
inline const QString kPopulating = QStringLiteral("Populating List Items, Please wait....");

// The scan's progress area.
inline const QString kBasicSearchMode = QStringLiteral("Basic Search");
inline QString searchRange(std::uint64_t first, std::uint64_t end) {
  return QStringLiteral("Search Range : ") + QString::number(first) + QStringLiteral(" to ") + QString::number(end);
}
inline QString sectorsScannedOfTotal(std::uint64_t total) {
  return QStringLiteral("sectors scanned of total ") + QString::number(total);
}
inline const QString kCalculatingParams = QStringLiteral("Calculating Partition Params: ");
inline QString paramsOfTotal(std::uint64_t total) { return QStringLiteral("/ ") + QString::number(total); }
inline const QString kSearchingLost = QStringLiteral("Searching Lost Directories. Please wait...");
inline const QString kStoring = QStringLiteral("Storing Directory Information. Please wait...");
inline const QString kItMayTakeAWhile = QStringLiteral("It may take a while, Please wait...");

// Saving and opening recovered files.
inline const QString kNothingCheckedToSave = QStringLiteral(
    "No item has been selected. Please select the item you want to save from left panel.");
inline const QString kBrowseDestination =
    QStringLiteral("Browse the Destination path where the recovered data will be saved : ");
inline const QString kInvalidDestination = QStringLiteral(
    "Invalid destination path. Please provide a valid location path to save the recovered data.");
inline const QString kDestinationOnSourceDrive = QStringLiteral(
    "Please select only different drive to save the recovered data. Saving data in same drive/volume (from which you "
    "are trying to recover data) may cause overwriting and your data may be lost forever. ");
inline const QString kCalculatingTotals = QStringLiteral("Calculating Total Number of Files, Please Wait ...");
inline const QString kTotalFiles = QStringLiteral("Total Files :");
inline const QString kTotalFolders = QStringLiteral("Total Folders :");
inline QString totalToSave(std::uint64_t files, std::uint64_t folders) {
  return QStringLiteral("( Total selected recovered data to be saved : %1 Files, %2 Folders )").arg(files).arg(folders);
}
inline QString savedTotals(std::uint64_t files, std::uint64_t folders) {
  return QStringLiteral("( recovered saved data : %1 Files, %2 Folders )").arg(files).arg(folders);
}
inline const QString kSavingFiles = QStringLiteral("Saving Files...");
inline const QString kFileNameField = QStringLiteral("File Name :");
inline const QString kFilePathField = QStringLiteral("File Path  :");
inline const QString kRecoveredCurrentFile = QStringLiteral(" Recovered Current File :");
inline const QString kTotalFilesRecovered = QStringLiteral("Total Files Recovered :");
inline const QString kTotalFoldersRecovered = QStringLiteral("Total Folders Recovered :");
inline QString doneOfTotal(std::uint64_t done, std::uint64_t total) {
  return QStringLiteral("%1 / %2").arg(done).arg(total);
}
inline const QString kGatheringClusters =
    QStringLiteral("Gathering Clusters Linking Information. This may take a while, Please wait...");
inline const QString kDestinationFull = QStringLiteral(
    "Unable to continue saving recovered data.\n\nEither Destination Drive is inaccessible or there is no free space "
    "available in drive to save recovered data.");
inline const QString kFileExistsTitle = QStringLiteral("Information");
inline const QString kExistingFileName = QStringLiteral("File Name");
inline const QString kNewFileName = QStringLiteral("New File Name");
inline const QString kApplyToAll = QStringLiteral("Apply the answer to all the files");
inline const QString kOpeningFile = QStringLiteral("Opening File : ");
inline const QString kOpeningTakesAWhile = QStringLiteral("This may take a while, Please wait...");
inline const QString kDoesNotExist = QStringLiteral("Does not exist.");

// Our own: features that later versions bring.
inline const QString kPartitionSearchNotYet = QStringLiteral(
    "Searching for deleted or missing partitions is not available in this version.");
inline const QString kLogsNotYet = QStringLiteral("Recovery logs are not available in this version.");

}  // namespace dravel::app::texts
